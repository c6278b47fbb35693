#include "ui/race_card_output.h"

#include <QAction>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <exception>

#include "app/export_command.h"
#include "app/gui/frmSyusohyo.h"
#include "graphs/gui/frmGraphs.h"
#include "ui/qt_host.h"
#include "ui/race_card_painter.h"

namespace veltrix::ui {

void PrintRaceCardWithDialog(Application& app, QWidget* parent) {
    try {
        const std::string header = PreparePrintRaceCard(app);
        if (header.empty()) return;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName(QStringLiteral("VELTRIX"));
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return;
        PaintRaceCard(printer, app.raceCard.sheet(kSheetSyuso), header);
    } catch (const std::exception&) {
        // Errors while printing are ignored.
    }
}

GraphWindows AttachGraphWindows(frmSyusohyo& main, Application& app) {
    const GraphWindows windows = MakeGraphWindows(app, &main);
    main.addSecondaryWindow(windows.pace);
    main.addSecondaryWindow(windows.race);
    main.addSecondaryWindow(windows.history);
    auto open = [windows, &app, &main] { OpenGraphWindows(windows, app, &main); };
    if (QAction* item = main.menuItem(QStringLiteral("mnuRGraph")))
        QObject::connect(item, &QAction::triggered, &main, open);
    QObject::connect(&main, &frmSyusohyo::raceFiguresClicked, &main, open);
    if (QAction* item = main.menuItem(QStringLiteral("mnuPrintRGraph")))
        QObject::connect(item, &QAction::triggered, &main,
                         [windows, &main] { PrintRaceGraphWithDialog(*windows.race, &main); });
    if (QAction* item = main.menuItem(QStringLiteral("mnuExport")))
        QObject::connect(item, &QAction::triggered, &main, [&app, &main] {
            try {
                ExportRaceCardCommand(app, main.userInterface(), SharedPump());
            } catch (const std::exception&) {
                // The window stays usable.
            }
        });
    if (QAction* item = main.menuItem(QStringLiteral("mnuPrint")))
        QObject::connect(item, &QAction::triggered, &main, [&app, &main] { PrintRaceCardWithDialog(app, &main); });
    return windows;
}

}  // namespace veltrix::ui
