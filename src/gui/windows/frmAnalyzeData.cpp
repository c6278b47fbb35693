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
    cmdAnalyzeFileImport_ = MakeButton(this, "cmdAnalyzeFileImport", "インポート",
                                       "ORVANTE サーバーから分析ファイルをダウンロードします。");
    cmdCancel_ = MakeButton(this, "cmdCancel", "キャンセル", "処理を中断します。");
    MarkAsCancelControl(cmdCancel_);
    LetEscapeCancel(this);  // Esc goes through done(), which cancels while the import runs

    auto* buttons = new QHBoxLayout;
    buttons->addWidget(prgStatusAll_, 1);
    buttons->addWidget(cmdAnalyzeFileImport_);
    buttons->addWidget(cmdCancel_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(txtStatus_, 1);
    layout->addLayout(buttons);
    resize(560, 300);

    ui_ = std::make_unique<WindowUserInterface>(
        messages_, dialogs_, [this](const std::string& text) { appendStatus(toQString(text)); },
        prgStatusAll_);
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
    Quietly([&] { ImportAnalysisFiles(app_, {*ui_, SharedPump(), ServiceAddressFromEnvironment(), {}}); });
    running_ = false;
    setImporting(false);
    // Asked to close while the import ran: it has stopped now. Queued, so that
    // this handler returns before the window's event loop ends.
    if (TakePendingClose(close_)) QMetaObject::invokeMethod(this, &QDialog::reject, Qt::QueuedConnection);
}

void frmAnalyzeData::cmdCancel_Click() {
    if (running_) SharedPump().requestCancel();
}

void frmAnalyzeData::done(int result) {
    // A running import stops at its next turn; what it merged stays.
    if (!ImportWindowMayClose(close_, running_, SharedPump())) {
        cmdCancel_->setEnabled(false);
        return;
    }
    QDialog::done(result);
}

}  // namespace veltrix::gui
