// VELTRIX: the desktop program.
#include <QApplication>

#include "gui/shell/shell.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return veltrix::gui::RunVeltrix(app);
}
