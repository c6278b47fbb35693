#pragma once
// The desktop program's start-up: the single-copy check, the splash, the
// folders and settings, the program's one JV-Link control, the main window with
// every other window attached, and the end of the program.
class QApplication;
class QString;

namespace veltrix::gui {

// Start-up sequence of the desktop program; returns the process exit code.
// Without a folder it is the chosen program folder (the executable's when it
// holds the settings file, else the per-user folder, made ready on first start).
int RunVeltrix(QApplication& app);
int RunVeltrix(QApplication& app, const QString& programFolder);

}  // namespace veltrix::gui
