#include "gui/windows/frmAnalyzeData.h"

#include <QCloseEvent>
#include <QHBoxLayout>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>
#include <exception>

#include "app/analysis_import_command.h"

namespace veltrix::gui {

namespace {

QPushButton* makeButton(QWidget* parent, const char* name, const char* caption, const char* tip) {
    auto* b = new QPushButton(QString::fromUtf8(caption), parent);
    b->setObjectName(QString::fromLatin1(name));
    b->setToolTip(QString::fromUtf8(tip));
    return b;
}

}  // namespace

// Messages and questions from the dialogs (or a test's script); status lines
// into the status box, progress into the window's bar.
class frmAnalyzeData::WindowUi final : public UserInterface {
public:
    WindowUi(frmAnalyzeData& window, QProgressBar* bar) : window_(window) { progress_.setProgressBar(bar); }
    void showMessage(const std::string& text, Icon icon) override {
        window_.messages_->showMessage(text, icon);
    }
    bool askYesNo(const std::string& text, Icon icon, bool defaultNo) override {
        return window_.messages_->askYesNo(text, icon, defaultNo);
    }
    std::string askSaveFileName(const std::string& title, const std::string& filter,
                                const std::string& proposedName) override {
        return window_.messages_->askSaveFileName(title, filter, proposedName);
    }
    void setStatus(const std::string& text) override { window_.appendStatus(toQString(text)); }
    void setProgressMax(int max) override { progress_.setProgressMax(max); }
    void setProgress(int value) override { progress_.setProgress(value); }

private:
    frmAnalyzeData& window_;
    QtUserInterface progress_;
};

frmAnalyzeData::frmAnalyzeData(Application& app, QWidget* parent)
    : QDialog(parent), app_(app), dialogs_(this), messages_(&dialogs_) {
    setObjectName(QStringLiteral("frmAnalyzeData"));
    setWindowTitle(QString::fromUtf8(kAnalyzeDataCaption));
    setModal(true);

    txtStatus_ = new QPlainTextEdit(this);
    txtStatus_->setObjectName(QStringLiteral("txtStatus"));
    txtStatus_->setReadOnly(true);
    txtStatus_->setLineWrapMode(QPlainTextEdit::NoWrap);
    prgStatusAll_ = new QProgressBar(this);
    prgStatusAll_->setObjectName(QStringLiteral("prgStatusAll"));
    prgStatusAll_->setTextVisible(false);
    prgStatusAll_->setRange(0, 1);
    prgStatusAll_->setValue(0);
    cmdAnalyzeFileImport_ = makeButton(this, "cmdAnalyzeFileImport", "インポート",
                                       "ORVANTE サーバーから分析ファイルをダウンロードします。");
    cmdCancel_ = makeButton(this, "cmdCancel", "キャンセル", "処理を中断します。");
    MarkAsCancelControl(cmdCancel_);

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prgStatusAll_, 1);
    buttons->addWidget(cmdAnalyzeFileImport_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtStatus_, 1);
    layout->addLayout(buttons);
    resize(560, 300);

    ui_ = std::make_unique<WindowUi>(*this, prgStatusAll_);
    connect(cmdAnalyzeFileImport_, &QPushButton::clicked, this, &frmAnalyzeData::cmdAnalyzeFileImport_Click);
    connect(cmdCancel_, &QPushButton::clicked, this, &frmAnalyzeData::cmdCancel_Click);
    subscription_ = app_.changes.subscribe([this](Change c) { changed(c); });
    setImporting(false);
}

frmAnalyzeData::~frmAnalyzeData() = default;

void frmAnalyzeData::setUserInterface(UserInterface* ui) { messages_ = ui ? ui : &dialogs_; }

void frmAnalyzeData::changed(Change change) {
    // Only this window's own command locks it; the question comes before the lock.
    if (!running_) return;
    if (change == Change::CommandStarted) setImporting(true);
}

void frmAnalyzeData::setImporting(bool importing) {
    cmdAnalyzeFileImport_->setEnabled(!importing);
    cmdCancel_->setEnabled(importing);
    if (importing)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

void frmAnalyzeData::appendStatus(const QString& line) {
    status_ += line + QStringLiteral("\r\n");
    txtStatus_->appendPlainText(line);
    txtStatus_->verticalScrollBar()->setValue(txtStatus_->verticalScrollBar()->maximum());
}

void frmAnalyzeData::cmdAnalyzeFileImport_Click() {
    if (running_) return;
    running_ = true;
    try {
        ImportAnalysisFiles(app_, {*ui_, SharedPump(), ServiceAddressFromEnvironment(), {}});
    } catch (const std::exception&) {
        // The command reports its own failures; what escapes is the standard
        // library's, and the window stays usable.
    }
    running_ = false;
    setImporting(false);
}

void frmAnalyzeData::cmdCancel_Click() {
    if (running_) SharedPump().requestCancel();
}

void frmAnalyzeData::closeEvent(QCloseEvent* event) {
    // A running import stops at its next turn; what it merged stays.
    cmdCancel_Click();
    QDialog::closeEvent(event);
}

}  // namespace veltrix::gui
