#include "cli/console_host.h"

#include <ostream>

namespace veltrix::cli {

void ConsoleUserInterface::showMessage(const std::string& text, Icon) {
    // A final message that repeats the last status line is not printed twice.
    if (text != lastStatus_) out_ << text << "\n";
}

bool ConsoleUserInterface::askYesNo(const std::string& text, Icon, bool) {
    out_ << text << "\n";
    return true;
}

std::string ConsoleUserInterface::askSaveFileName(const std::string&, const std::string&,
                                                  const std::string&) {
    return {};
}

void ConsoleUserInterface::setStatus(const std::string& text) {
    if (text == lastStatus_) return;
    lastStatus_ = text;
    out_ << text << "\n";
}

void CountingPump::processEvents() {
    if (++turns_ == cancelAt_) requestCancel();
}

}  // namespace veltrix::cli
