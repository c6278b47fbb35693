// VELTRIX: the desktop program.
#include <QApplication>

#include "app/gui/frmStartup.h"

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    return veltrix::ui::RunVeltrix(app);
}
