#include "app/frmStartup.h"

#include <QApplication>
#include <QMainWindow>

#include "veltrix_version.h"

namespace veltrix::ui {

int RunVeltrix(QApplication& app) {
    QMainWindow w;
    w.setWindowTitle(QStringLiteral("VELTRIX Version " VELTRIX_VERSION_TEXT));
    w.show();
    return app.exec();
}

}  // namespace veltrix::ui
