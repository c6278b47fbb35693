#pragma once
// The console side of the core's user-interface port, for the commands that run
// what a window runs: every question is answered Yes, and a scripted cancel
// stands in for the cancel button.
#include <iosfwd>
#include <string>

#include "base/host.h"

namespace veltrix::cli {

// Prints what the window would show, one line each: questions, status lines
// (each once), messages. No save-file name is ever chosen.
class ConsoleUserInterface final : public UserInterface {
public:
    explicit ConsoleUserInterface(std::ostream& out) : out_(out) {}
    void showMessage(const std::string& text, Icon icon) override;
    bool askYesNo(const std::string& text, Icon icon, bool defaultNo) override;
    std::string askSaveFileName(const std::string& title, const std::string& filter,
                                const std::string& proposedName) override;
    void setStatus(const std::string& text) override;
    void setProgressMax(int) override {}
    void setProgress(int) override {}

private:
    std::ostream& out_;
    std::string lastStatus_;
};

// Counts the turns of the long loops; raises the cancel flag at turn cancelAt (0: never).
class CountingPump final : public Pump {
public:
    explicit CountingPump(long long cancelAt) : cancelAt_(cancelAt) {}
    void processEvents() override;

private:
    long long cancelAt_;
    long long turns_ = 0;
};

}  // namespace veltrix::cli
