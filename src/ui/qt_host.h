#pragma once
// Qt implementations of the core's user interface and event pump, shared by
// every window, and the small window services of the shell.
#include <QPointer>
#include <QString>
#include <QUrl>
#include <filesystem>
#include <string>

#include "app/host.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace veltrix::ui {

inline constexpr const char* kMessageTitle = "VELTRIX";

inline QString toQString(const std::string& utf8) { return QString::fromStdString(utf8); }
// File-system path <-> QString in the local 8-bit file name encoding.
std::filesystem::path toPath(const QString& path);
QString fromPath(const std::filesystem::path& path);

// Message boxes titled "VELTRIX", the save-file dialog, and the status label
// and progress bar of the window that runs a command (either may be absent).
class QtUserInterface final : public UserInterface {
public:
    explicit QtUserInterface(QWidget* parent = nullptr);
    void setParent(QWidget* parent);
    void setStatusLabel(QLabel* label);
    void setProgressBar(QProgressBar* bar);

    void showMessage(const std::string& text, Icon icon) override;
    bool askYesNo(const std::string& text, Icon icon, bool defaultNo) override;
    std::string askSaveFileName(const std::string& title, const std::string& filter,
                                const std::string& proposedName) override;
    void setStatus(const std::string& text) override;
    void setProgressMax(int max) override;
    void setProgress(int value) override;

private:
    QPointer<QWidget> parent_;
    QPointer<QLabel> status_;
    QPointer<QProgressBar> progress_;
};

// Processes pending events once per turn; a cancel button or closing the window
// raises the flag, the command that starts lowers it.
class QtPump final : public Pump {
public:
    void processEvents() override;
    bool cancelRequested() const override { return cancel_; }
    void requestCancel() { cancel_ = true; }
    void reset() { cancel_ = false; }

private:
    bool cancel_ = false;
};

// "CSV ファイル (*.csv)|*.csv|..." (description|pattern pairs) -> Qt's
// "CSV ファイル (*.csv);;..." form; a filter already in Qt's form is kept.
QString toQtFileFilter(const std::string& filter);

// Keeps a secondary window above the others without moving or resizing it.
void MakeTopMost(QWidget* window);
// The same for the top-level window with exactly this caption; nothing when there is none.
void MakeTopMost(const QString& caption);

// The user guide of a program folder, as a file URL (a folder with spaces in
// its path needs no quoting).
QUrl GuideUrl(const QString& programFolder);
// Opens a document or web page with the desktop's opener; no shell is involved.
// Errors are ignored, as the menu commands that use it ignore them.
void OpenWithShell(const QUrl& target);

}  // namespace veltrix::ui
