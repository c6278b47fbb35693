#include "gui/windows/race_card_output.h"

#include <QAction>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <exception>

#include "app/export_command.h"
#include "gui/widgets/qt_host.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmSyusohyo.h"
#include "print/race_card_painter.h"

namespace veltrix::gui {

void PrintRaceCardWithDialog(Application& app, QWidget* parent) {
    Quietly([&] {
        const std::string header = PreparePrintRaceCard(app);
        if (header.empty()) return;
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName(QStringLiteral("VELTRIX"));
        QPrintDialog dialog(&printer, parent);
        if (dialog.exec() != QDialog::Accepted) return;
        print::PaintRaceCard(printer, app.raceCard.sheet(kSheetSyuso), header);
    });
}

}  // namespace veltrix::gui
