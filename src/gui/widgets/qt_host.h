#pragma once
// Qt implementations of the core's user interface and event pump, shared by
// every window, and the small window services of the shell.
#include <QPointer>
#include <QString>
#include <QUrl>
#include <exception>
#include <filesystem>
#include <functional>
#include <string>

#include "base/host.h"

class QCoreApplication;
class QLabel;
class QProgressBar;
class QPushButton;
class QWidget;

namespace veltrix::gui {

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
    bool askOkCancel(const std::string& text, Icon icon) override;
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

// The user interface a window's commands talk to: messages and questions go
// to *messages (the window's dialogs, or a test's scripted user; read at each
// call, so it may be swapped), status lines to showStatus and, when messages
// is not the window's own dialogs, to messages as well, progress to the bar.
class WindowUserInterface final : public UserInterface {
public:
    WindowUserInterface(UserInterface*& messages, const UserInterface& dialogs,
                        std::function<void(const std::string&)> showStatus, QProgressBar* progress);

    void showMessage(const std::string& text, Icon icon) override;
    bool askYesNo(const std::string& text, Icon icon, bool defaultNo) override;
    bool askOkCancel(const std::string& text, Icon icon) override;
    std::string askSaveFileName(const std::string& title, const std::string& filter,
                                const std::string& proposedName) override;
    void setStatus(const std::string& text) override;
    void setProgressMax(int max) override;
    void setProgress(int value) override;

private:
    UserInterface*& messages_;
    const UserInterface& dialogs_;
    std::function<void(const std::string&)> showStatus_;
    QtUserInterface progress_;
};

// A push button of a window: object name, caption and tool tip (UTF-8).
QPushButton* MakeButton(QWidget* parent, const char* name, const char* caption, const char* tip);

// Runs a handler of a window. An error inside it ends the handler quietly:
// what the command changed stays and the window stays usable. True when it failed.
template <class Handler>
bool Quietly(Handler&& handler) {
    try {
        handler();
        return false;
    } catch (const std::exception&) {
        return true;
    }
}
// The same for a handler with a result: onError when it failed.
template <class Result, class Handler>
Result Quietly(Result onError, Handler&& handler) {
    try {
        return handler();
    } catch (const std::exception&) {
        return onError;
    }
}

// Processes pending events once per turn of a long loop. While it does, no
// window takes mouse or keyboard input except the controls marked with
// MarkAsCancelControl, so nothing re-enters the core mid-loop (a header click
// cannot reorder the sheets while the past runs are built). Paint, timer and
// close events go through; a close is how a window cancels.
class QtPump final : public Pump {
public:
    void processEvents() override;
};

// The program's one pump, and with it the one cancel flag.
QtPump& SharedPump();

// The keyboard as a running animation reads it, as polling the keyboard
// would: while a reader is set, every press and release of the keys it wants,
// in whichever of the program's windows has the focus, goes to it and no further.
class KeyboardReader {
public:
    virtual ~KeyboardReader() = default;
    // True when the reader takes the key.
    virtual bool wantsKey(int key) const = 0;
    virtual void keyChanged(int key, bool down, bool autoRepeat) = 0;
    // The program lost the keyboard: releases will not be seen.
    virtual void keyboardLost() = 0;
};
// Starts reading the whole keyboard into reader; nullptr stops.
void ReadWholeKeyboard(KeyboardReader* reader);

// Lets a control (a cancel button) take input while a long loop pumps events.
void MarkAsCancelControl(QWidget* control);
// Lets Esc reach a window while a long loop pumps events, wherever its focus
// is; the window must turn Esc into a cancel, never into a close that leaves
// the loop running unseen.
void LetEscapeCancel(QWidget* window);

// With the environment variable VELTRIX_LOG set, one line on standard error
// ("veltrix: " and text): the messages and questions shown, the changes the
// program hears, the end of each simulation. What a test driving the program
// through the window system reads; nothing without the variable.
void LogLine(const std::string& text);

// "CSV ファイル (*.csv)|*.csv|..." (description|pattern pairs) -> Qt's
// "CSV ファイル (*.csv);;..." form; a filter already in Qt's form is kept.
QString toQtFileFilter(const std::string& filter);

// Keeps a secondary window above the others without moving or resizing it.
void MakeTopMost(QWidget* window);
// The same for the top-level window with exactly this caption; nothing when there is none.
void MakeTopMost(const QString& caption);

// Qt's own texts (standard buttons はい / いいえ / OK / キャンセル, dialog texts)
// in Japanese whatever the machine's locale: the whole interface is Japanese.
// True when Qt's Japanese translations are not installed (the texts stay English).
bool InstallJapaneseTranslations(QCoreApplication& app);

// The user guide of a program folder (or, for an installed copy, the one beside
// the executable or in its data folder), as a file URL (a folder with spaces in
// its path needs no quoting).
QUrl GuideUrl(const QString& programFolder);
// Opens a document or web page with the desktop's opener; no shell is involved.
// True when no opener took it.
bool OpenWithShell(const QUrl& target);

}  // namespace veltrix::gui
