#pragma once
class QApplication;

namespace veltrix::ui {
// Start-up sequence of the desktop program; returns the process exit code.
int RunVeltrix(QApplication& app);
}  // namespace veltrix::ui
