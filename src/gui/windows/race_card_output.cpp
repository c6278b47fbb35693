#include "gui/windows/race_card_output.h"

#include <QAction>
#include <QPageLayout>
#include <QPrintDialog>
#include <QPrinter>
#include <exception>
#include <functional>

#include "gui/widgets/qt_host.h"
#include "gui/windows/frmGraphs.h"
#include "gui/windows/frmSyusohyo.h"
#include "print/race_card_painter.h"

namespace veltrix::gui {

int PrintRaceCardOn(Application& app, QPrinter& printer, const std::function<bool()>& chooseDevice) {
    return print::PrintRaceCard(app, printer, chooseDevice, [&printer] {
        return printer.outputFormat() == QPrinter::PdfFormat ? printer.outputFileName() : QString();
    });
}

void PrintRaceCardWithDialog(Application& app, QWidget* parent) {
    Quietly([&] {
        QPrinter printer(QPrinter::HighResolution);
        printer.setPageOrientation(QPageLayout::Landscape);
        printer.setDocName(QStringLiteral("VELTRIX"));
        QPrintDialog dialog(&printer, parent);
        PrintRaceCardOn(app, printer, [&] { return dialog.exec() == QDialog::Accepted; });
    });
}

}  // namespace veltrix::gui
