#include "gui/windows/frmTuning.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>
#include <exception>

#include "app/race_commands.h"
#include "app/tuning_command.h"
#include "engine/select_palette.h"
#include "gui/widgets/qt_host.h"

namespace veltrix::gui {

namespace {

// The window's names of the weight fields, in field order.
constexpr std::array<const char*, kTuneWeights> kWeightNames = {
    "mskedRaceLevel", "mskedZenH", "mskedAgaH",  "mskedZenR",   "mskedAgaR",
    "mskedMd",        "mskedPace", "mskedKisyu", "mskedChokyo", "mskedKisCho"};

// A masked entry with a fixed decimal point: "#.##" or "#.#".
QLineEdit* maskedField(QWidget* parent, const QString& name, const char* mask) {
    auto* edit = new QLineEdit(parent);
    edit->setObjectName(name);
    edit->setInputMask(QString::fromLatin1(mask));
    edit->setAlignment(Qt::AlignRight);
    edit->setFixedWidth(52);
    return edit;
}

void addCaptioned(QGridLayout* grid, int index, int columns, const char* caption, QWidget* field) {
    const int row = index / columns;
    const int col = (index % columns) * 2;
    grid->addWidget(new QLabel(QString::fromUtf8(caption), field->parentWidget()), row, col, Qt::AlignRight);
    grid->addWidget(field, row, col + 1);
}

}  // namespace

frmTuning::frmTuning(Application& app, QWidget* raceCard) : QDialog(raceCard), app_(app) {
    setObjectName(QStringLiteral("frmTuning"));
    setWindowTitle(QStringLiteral("チューニング"));
    setModal(true);

    auto* time = new QGroupBox(QStringLiteral("タイム重み"), this);
    auto* timeGrid = new QGridLayout(time);
    for (int i = kTuneRaceLevel; i <= kTunePace; ++i) {
        msked_[static_cast<size_t>(i)] =
            maskedField(time, QString::fromLatin1(kWeightNames[static_cast<size_t>(i)]), "0.00;_");
        addCaptioned(timeGrid, i, 4, kTuneWeightCaptions[static_cast<size_t>(i)],
                     msked_[static_cast<size_t>(i)]);
    }
    auto* person = new QGroupBox(QStringLiteral("騎手・調教師重み"), this);
    auto* personGrid = new QGridLayout(person);
    for (int i = kTuneKisyu; i <= kTuneCombi; ++i) {
        msked_[static_cast<size_t>(i)] =
            maskedField(person, QString::fromLatin1(kWeightNames[static_cast<size_t>(i)]), "0.00;_");
        addCaptioned(personGrid, i - kTuneKisyu, 3, kTuneWeightCaptions[static_cast<size_t>(i)],
                     msked_[static_cast<size_t>(i)]);
    }
    auto* kyori = new QGroupBox(QStringLiteral("距離重み"), this);
    auto* kyoriGrid = new QGridLayout(kyori);
    for (int i = 0; i < kTuneKyori; ++i) {
        mskedKyori_[static_cast<size_t>(i)] =
            maskedField(kyori, QStringLiteral("mskedKyori%1").arg(i), "0.0;_");
        addCaptioned(kyoriGrid, i, 4, kTuneKyoriCaptions[static_cast<size_t>(i)],
                     mskedKyori_[static_cast<size_t>(i)]);
    }
    auto* period = new QGroupBox(QStringLiteral("対象期間"), this);
    auto* periodRow = new QHBoxLayout(period);
    cboKikan_ = new QComboBox(period);
    cboKikan_->setObjectName(QStringLiteral("cboKikan"));
    for (int k = 0; k < kKikanEntries; ++k) cboKikan_->addItem(toQString(KikanCaption(k)));
    periodRow->addWidget(cboKikan_);
    periodRow->addStretch();

    chkAutoTuning_ = new QCheckBox(QStringLiteral("予測自動調整ON"), this);
    chkAutoTuning_->setObjectName(QStringLiteral("chkAutoTuning"));
    connect(chkAutoTuning_, &QCheckBox::clicked, this,
            [this](bool checked) { SetAutoTuning(app_, checked); });

    cmdInit_ = new QPushButton(QStringLiteral("初期値に戻す"), this);
    cmdInit_->setObjectName(QStringLiteral("cmdInit"));
    cmdInit_->setToolTip(QStringLiteral("チューニング・パラメータを初期値に戻します。"));
    cmdInit_->setAutoDefault(false);
    connect(cmdInit_, &QPushButton::clicked, this, [this] { setFields(DefaultTuningFields()); });
    cmdSet_ = new QPushButton(QStringLiteral("適用"), this);
    cmdSet_->setObjectName(QStringLiteral("cmdSet"));
    cmdSet_->setToolTip(QStringLiteral("表示中のチューニング・パラメータを適用します。"));
    cmdSet_->setAutoDefault(false);
    connect(cmdSet_, &QPushButton::clicked, this, &frmTuning::apply);
    cmdSave_ = new QPushButton(QStringLiteral("保存"), this);
    cmdSave_->setObjectName(QStringLiteral("cmdSave"));
    cmdSave_->setToolTip(QStringLiteral("表示中のチューニング・パラメータを保存します。"));
    cmdSave_->setAutoDefault(false);
    connect(cmdSave_, &QPushButton::clicked, this, &frmTuning::save);

    auto* lower = new QHBoxLayout;
    lower->addWidget(period);
    lower->addWidget(chkAutoTuning_);
    lower->addStretch();
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(cmdInit_);
    buttons->addStretch();
    buttons->addWidget(cmdSet_);
    buttons->addWidget(cmdSave_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(time);
    layout->addWidget(person);
    layout->addWidget(kyori);
    layout->addLayout(lower);
    layout->addLayout(buttons);
    load();
}

TuningFields frmTuning::fields() const {
    TuningFields f;
    for (size_t i = 0; i < msked_.size(); ++i) f.weights[i] = msked_[i]->text().toStdString();
    for (size_t i = 0; i < mskedKyori_.size(); ++i) f.kyori[i] = mskedKyori_[i]->text().toStdString();
    f.cboKikan = cboKikan_->currentIndex();
    return f;
}

void frmTuning::setFields(const TuningFields& f) {
    for (size_t i = 0; i < msked_.size(); ++i) msked_[i]->setText(toQString(f.weights[i]));
    for (size_t i = 0; i < mskedKyori_.size(); ++i) mskedKyori_[i]->setText(toQString(f.kyori[i]));
    cboKikan_->setCurrentIndex(f.cboKikan);
}

void frmTuning::load() {
    setFields(TuningFieldsOf(app_.settings));
    chkAutoTuning_->setChecked(app_.settings.AutoTuning);
}

void frmTuning::apply() {
    Quietly([&] {
        if (ApplyTuningFields(app_, fields(), SharedPump())) return;
        accept();
    });
}

void frmTuning::save() {
    Quietly([&] { SaveTuningFields(app_, fields()); });
}

int ShowTuningWindow(Application& app, QWidget* raceCard) {
    HideSecondaryWindows(app);
    frmTuning window(app, raceCard);
    return window.exec();
}

}  // namespace veltrix::gui
