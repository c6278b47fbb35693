#pragma once
// The analysis-file import window "分析ファイルのインポート": downloads the week's
// analysis files from the service and merges them, one status line per step.
#include <QDialog>
#include <QString>
#include <memory>

#include "app/application.h"
#include "gui/widgets/qt_host.h"

class QPlainTextEdit;
class QProgressBar;
class QPushButton;

namespace veltrix::gui {

class frmAnalyzeData final : public QDialog {
    Q_OBJECT
public:
    explicit frmAnalyzeData(Application& app, QWidget* parent = nullptr);
    ~frmAnalyzeData() override;

    // Messages and questions go to ui (tests script the user); status box and
    // progress bar stay the window's. nullptr restores the message boxes.
    void setUserInterface(UserInterface* ui);
    // What txtStatus holds: every line ends with CR LF.
    const QString& statusText() const { return status_; }
    bool importing() const { return running_; }

public slots:
    // Against the service of VELTRIX_SERVICE_URL, or the maker's.
    void cmdAnalyzeFileImport_Click();
    void cmdCancel_Click();

protected:
    // Every way of closing ends here (close box, Esc, accept, reject). While the
    // import runs the window stays and the import is cancelled; the window
    // closes when it has stopped.
    void done(int result) override;

private:
    void changed(Change change);
    void appendStatus(const QString& line);
    void setImporting(bool importing);

    Application& app_;
    Subscription subscription_;
    QtUserInterface dialogs_;
    UserInterface* messages_ = nullptr;  // dialogs_ unless a test injects its own
    std::unique_ptr<WindowUserInterface> ui_;
    bool running_ = false;
    PendingClose close_;
    QString status_;

    QPushButton* cmdAnalyzeFileImport_ = nullptr;
    QPushButton* cmdCancel_ = nullptr;
    QProgressBar* prgStatusAll_ = nullptr;
    QPlainTextEdit* txtStatus_ = nullptr;
};

inline constexpr const char* kAnalyzeDataCaption = "分析ファイルのインポート";

}  // namespace veltrix::gui
