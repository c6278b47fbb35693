#include "gui/windows/frmSelect.h"

#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QVBoxLayout>

#include "app/calculate_command.h"
#include "gui/widgets/qt_host.h"

namespace veltrix::gui {

namespace {

QGroupBox* group(const char* caption, QWidget* parent) {
    auto* g = new QGroupBox(QString::fromUtf8(caption), parent);
    new QGridLayout(g);
    return g;
}

void place(QGroupBox* g, QWidget* w, int index, int columns) {
    static_cast<QGridLayout*>(g->layout())->addWidget(w, index / columns, index % columns);
}

}  // namespace

frmSelect::frmSelect(Application& app, QWidget* raceCard)
    : QWidget(raceCard, Qt::Tool), app_(app), raceCard_(raceCard) {
    setObjectName(QStringLiteral("frmSelect"));
    setWindowTitle(QStringLiteral("選択パレット"));
    // The box captions use the highlight-text colour: a dark ground like the race card's.
    QPalette dark = palette();
    dark.setColor(QPalette::Window, Qt::black);
    dark.setColor(QPalette::WindowText, dark.color(QPalette::HighlightedText));
    setPalette(dark);
    setAutoFillBackground(true);

    auto* jo = group("競馬場", this);
    for (int i = 0; i < kCourseBoxes; ++i)
        place(jo, chkJo_[i] = addBox(QStringLiteral("chkJo%1").arg(i), toQString(CourseOfBox(i))), i, 5);
    auto* baba = group("馬場", this);
    for (int i = 0; i < kBabaBoxes; ++i)
        place(baba,
              chkBaba_[i] = addBox(QStringLiteral("chkBaba%1").arg(i), QString::fromUtf8(kBabaCaptions[i])),
              i, 4);
    auto* siba = group("芝距離", this);
    for (int i = 0; i < kSibaBoxes; ++i)
        place(siba,
              chkSKyori_[i] = addBox(QStringLiteral("chkSKyori%1").arg(i), toQString("芝" + SibaKyori(i))), i,
              6);
    auto* dirt = group("ダート距離", this);
    for (int i = 0; i < kDirtBoxes; ++i)
        place(dirt,
              chkDKyori_[i] = addBox(QStringLiteral("chkDKyori%1").arg(i), toQString("ダ" + DirtKyori(i))), i,
              6);
    auto* joken = group("対象外条件", this);
    for (int i = 0; i < kJokenBoxes; ++i)
        place(
            joken,
            chkJoken_[i] = addBox(QStringLiteral("chkJoken%1").arg(i), QString::fromUtf8(kJokenCaptions[i])),
            i, 5);

    auto* rule = group("集計ルール", this);
    auto* rules = rules_ = new QButtonGroup(this);
    for (int i = 0; i < kRuleOptions; ++i) {
        auto* opt = new QRadioButton(QString::fromUtf8(kRuleCaptions[i]), rule);
        opt->setObjectName(QStringLiteral("optRule1%1").arg(i));
        rules->addButton(opt, i);
        place(rule, opt, i, 5);
        optRule1_[i] = opt;
    }
    connect(rules, &QButtonGroup::idClicked, this,
            [this](int id) { SetPaletteRule(app_.palette, kRuleNames[id]); });

    cboKikan_ = new QComboBox(this);
    cboKikan_->setObjectName(QStringLiteral("cboKikan"));
    for (int k = 0; k < kKikanEntries; ++k) cboKikan_->addItem(toQString(KikanCaption(k)));
    connect(cboKikan_, &QComboBox::activated, this, [this](int index) { app_.palette.cboKikan = index; });

    cmdCalculate_ = new QPushButton(this);
    cmdCalculate_->setObjectName(QStringLiteral("cmdCalculate"));
    cmdCalculate_->setIcon(style()->standardIcon(QStyle::SP_MediaPlay));
    cmdCalculate_->setIconSize(QSize(24, 24));
    connect(cmdCalculate_, &QPushButton::clicked, this, &frmSelect::calculate);

    auto* bottom = new QHBoxLayout;
    bottom->addWidget(cboKikan_);
    bottom->addStretch(1);
    bottom->addWidget(cmdCalculate_);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* g :
         {static_cast<QWidget*>(jo), static_cast<QWidget*>(baba), static_cast<QWidget*>(siba),
          static_cast<QWidget*>(dirt), static_cast<QWidget*>(joken), static_cast<QWidget*>(rule)})
        layout->addWidget(g);
    layout->addLayout(bottom);

    subscription_ = app_.changes.subscribe([this](Change c) {
        if (c == Change::RaceOpened || c == Change::RaceCardReset) showPalette();
    });
    showPalette();
}

QCheckBox* frmSelect::addBox(const QString& objectName, const QString& caption) {
    auto* box = new QCheckBox(caption, this);
    box->setObjectName(objectName);
    connect(box, &QCheckBox::clicked, this,
            [this, caption](bool checked) { SetPaletteBox(app_.palette, caption.toStdString(), checked); });
    return box;
}

void frmSelect::paintBox(QCheckBox* box, bool green) {
    QPalette p = box->palette();
    p.setColor(QPalette::WindowText,
               green ? QColor::fromRgb(kPaletteGreen) : palette().color(QPalette::HighlightedText));
    box->setPalette(p);
}

void frmSelect::showPalette() {
    const SelectPalette& p = app_.palette;
    for (int i = 0; i < kCourseBoxes; ++i) {
        chkJo_[i]->setChecked(p.chkJo[i]);
        paintBox(chkJo_[i], p.greenJo == i);
    }
    for (int i = 0; i < kBabaBoxes; ++i) chkBaba_[i]->setChecked(p.chkBaba[i]);
    for (int i = 0; i < kSibaBoxes; ++i) {
        chkSKyori_[i]->setChecked(p.chkSKyori[i].value);
        chkSKyori_[i]->setEnabled(p.chkSKyori[i].enabled);
        paintBox(chkSKyori_[i], p.greenSKyori == i);
    }
    for (int i = 0; i < kDirtBoxes; ++i) {
        chkDKyori_[i]->setChecked(p.chkDKyori[i].value);
        chkDKyori_[i]->setEnabled(p.chkDKyori[i].enabled);
        paintBox(chkDKyori_[i], p.greenDKyori == i);
    }
    for (int i = 0; i < kJokenBoxes; ++i) chkJoken_[i]->setChecked(p.chkJoken[i]);
    // No option checked is a state of its own: the group must let go of the last one.
    rules_->setExclusive(false);
    for (int i = 0; i < kRuleOptions; ++i) optRule1_[i]->setChecked(p.optRule1 == i);
    rules_->setExclusive(true);
    cboKikan_->setCurrentIndex(p.cboKikan);
}

void frmSelect::calculate() {
    QApplication::setOverrideCursor(Qt::WaitCursor);
    setEnabled(false);
    if (raceCard_) raceCard_->repaint();
    // A calculation that failed leaves the card as far as it got, as the
    // calculation itself does; the palette stays usable for another try.
    const bool failed = veltrix::Calculate(app_);
    setEnabled(true);
    QApplication::restoreOverrideCursor();
    // A normal calculation says nothing; one that found no run to use says why.
    if (!failed)
        if (auto reason =
                Quietly(std::optional<std::string>(), [&] { return NoUsableRunMessage(app_.raceCard); }))
            messages_->showMessage(*reason, Icon::Warning);
    setFocus();
}

void frmSelect::closeEvent(QCloseEvent* event) {
    // Closing only hides the palette: its settings stay for the next showing.
    event->ignore();
    hide();
}

void frmSelect::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (placed_ || !raceCard_) return;
    placed_ = true;
    const QRect card = raceCard_->frameGeometry();
    const QRect own = frameGeometry();
    move(card.right() - own.width() + 1, card.bottom() - own.height() + 1);
}

bool frmSelect::event(QEvent* event) {
    if (event->type() == QEvent::WindowActivate) {
        ActivatePalette(app_.palette, app_.settings.Kikan);
        cboKikan_->setCurrentIndex(app_.palette.cboKikan);
    }
    return QWidget::event(event);
}

}  // namespace veltrix::gui
