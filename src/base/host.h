#pragma once
// The core's only way to talk to the user and to keep the single user-interface
// thread responsive. The GUI implements these with Qt, veltrix-cli with the
// console, the tests with scripted fakes.
#include <cstdint>
#include <string>

namespace veltrix {

enum class Icon { Warning, Information, Question };

class UserInterface {
public:
    virtual ~UserInterface() = default;
    // Message box titled "VELTRIX".
    virtual void showMessage(const std::string& text, Icon icon) = 0;
    // Yes/No question; defaultNo preselects No (stored data replaced or work abandoned).
    virtual bool askYesNo(const std::string& text, Icon icon, bool defaultNo) = 0;
    // OK/Cancel question, OK preselected; true for OK. A front end without a
    // box of its own for it asks Yes/No.
    virtual bool askOkCancel(const std::string& text, Icon icon) { return askYesNo(text, icon, false); }
    // Save-file dialog; an empty answer means the user cancelled.
    virtual std::string askSaveFileName(const std::string& title, const std::string& filter,
                                        const std::string& proposedName) = 0;
    // Status label and progress bar of the window that runs the command.
    virtual void setStatus(const std::string& text) = 0;
    virtual void setProgressMax(int max) = 0;
    virtual void setProgress(int value) = 0;
};

// Long loops call processEvents() once per turn and read cancelRequested()
// after it. The cancel flag is the one flag of the program: a cancel button or
// closing a window raises it, the command that starts lowers it.
class Pump {
public:
    virtual ~Pump() = default;
    virtual void processEvents() = 0;
    bool cancelRequested() const { return cancel_; }
    void requestCancel() { cancel_ = true; }
    void clearCancel() { cancel_ = false; }

private:
    bool cancel_ = false;
};

// A window that runs long commands, asked to close while one runs.
struct PendingClose {
    bool requested = false;
};
// Closing such a window in any way (close box, Esc, a hide) while a command
// runs must not leave the command running unseen: the command is cancelled at
// its next check and the window stays, usable, until it has stopped. Returns
// true when the window may close now.
bool ImportWindowMayClose(PendingClose& close, bool commandRunning, Pump& pump);
// When a command has stopped: true once if a close was refused while it ran,
// and the window closes then.
bool TakePendingClose(PendingClose& close);

// Time source of the session procedure; tests drive it without waiting.
class Clock {
public:
    virtual ~Clock() = default;
    virtual std::int64_t nowMs() = 0;
    virtual void sleepMs(int ms) = 0;
};

// Silent implementations for headless callers that need none of it.
class NullUserInterface final : public UserInterface {
public:
    void showMessage(const std::string&, Icon) override {}
    bool askYesNo(const std::string&, Icon, bool) override { return false; }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void setStatus(const std::string&) override {}
    void setProgressMax(int) override {}
    void setProgress(int) override {}
};

// Silent, answers every question Yes and keeps the last message: for runs
// without anybody to ask (sample folders, benchmarks).
class YesUserInterface final : public UserInterface {
public:
    std::string lastMessage;
    void showMessage(const std::string& text, Icon) override { lastMessage = text; }
    bool askYesNo(const std::string&, Icon, bool) override { return true; }
    std::string askSaveFileName(const std::string&, const std::string&, const std::string&) override {
        return {};
    }
    void setStatus(const std::string&) override {}
    void setProgressMax(int) override {}
    void setProgress(int) override {}
};

class NullPump final : public Pump {
public:
    void processEvents() override {}
};

class SystemClock final : public Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(int ms) override;
};

// Progress bar helper: counts up to its maximum and never past it.
class Progress {
public:
    Progress(UserInterface& ui, int max) : ui_(ui), max_(max) {
        ui_.setProgressMax(max_);
        ui_.setProgress(0);
    }
    void step() {
        if (value_ < max_) ui_.setProgress(++value_);
    }
    void finish() {
        value_ = max_;
        ui_.setProgress(max_);
    }
    int value() const { return value_; }

private:
    UserInterface& ui_;
    int max_;
    int value_ = 0;
};

}  // namespace veltrix
