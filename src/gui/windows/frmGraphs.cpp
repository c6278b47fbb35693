#include "gui/windows/frmGraphs.h"

#include <QChart>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QGuiApplication>
#include <QLabel>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPicture>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <exception>
#include <vector>

#include "graphs/graph_layout.h"
#include "graphs/pace_graph.h"
#include "graphs/race_graph.h"
#include "graphs/race_history_graph.h"
#include "gui/widgets/chart_view.h"
#include "gui/widgets/qt_host.h"

namespace veltrix::gui {

namespace {

double logicalDpi(const QWidget* w) {
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->logicalDotsPerInchX() : 96.0;
}

QString colourName(const Rgb& c) { return QColor(c.r, c.g, c.b).name(); }

QLabel* captionFrame(QWidget* parent, const char* name, const QString& text) {
    auto* label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setFrameShape(QFrame::Box);
    label->setAlignment(Qt::AlignCenter);
    label->setMargin(1);
    return label;
}

}  // namespace

GraphWindowBase::GraphWindowBase(Application& app, GraphWindow kind, const char* objectName,
                                 const QString& caption, const QString& xCaption, const QString& yCaption,
                                 QWidget* parent)
    : QWidget(parent, Qt::Tool), app_(app), kind_(kind) {
    setObjectName(QString::fromLatin1(objectName));
    setWindowTitle(caption);
    chart_ = new ChartView(this);
    chart_->setObjectName(kind == GraphWindow::Pace ? QStringLiteral("mscPaceGraph")
                                                    : QStringLiteral("mscRaceGraph"));
    const bool pace = kind == GraphWindow::Pace;
    captionX_ = captionFrame(this, pace ? "lblPaceZenhan" : "lblRaceZenhan", xCaption);
    captionY_ = captionFrame(this, pace ? "lblPaceKouhan" : "lblRaceKouhan", yCaption);
    connect(chart_, &ChartView::clicked, this, [this] {
        SwitchGraphScheme(app_, kind_);
        redraw();
    });
    subscription_ = app_.changes.subscribe([this](Change c) {
        if (hears(c)) redraw();
    });
    const double dpi = logicalDpi(this);
    resize(TwipsToPixels(kGraphWindowWidth, dpi), TwipsToPixels(kGraphWindowHeight, dpi));
    kept_ = ReadWindowPlace(app_.folders.program, objectName);
}

bool GraphWindowBase::dark() const {
    switch (kind_) {
        case GraphWindow::Pace:
            return app_.paceGraph.dark;
        case GraphWindow::Race:
            return app_.raceGraph.dark;
        case GraphWindow::History:
            return app_.historyGraph.dark;
    }
    return true;
}

ChartModel GraphWindowBase::model() const {
    switch (kind_) {
        case GraphWindow::Pace:
            return PaceChartModel(app_.paceGraph);
        case GraphWindow::Race:
            return RaceChartModel(app_.raceGraph);
        case GraphWindow::History:
            return RaceHistoryChartModel(app_.historyGraph);
    }
    return {};
}

void GraphWindowBase::redraw() {
    Quietly([&] {
        chart_->setChartModel(model());
        const GraphScheme scheme = SchemeOf(dark());
        const QString style = QStringLiteral("QLabel { background: %1; color: %2; border: 1px solid %2; }")
                                  .arg(colourName(scheme.backdrop), colourName(scheme.text));
        captionX_->setStyleSheet(style);
        captionY_->setStyleSheet(style);
    });
}

void GraphWindowBase::DrawGraph(const QPoint& topLeft, bool keptPlace) {
    const double dpi = logicalDpi(this);
    QRect place(topLeft,
                QSize(TwipsToPixels(kGraphWindowWidth, dpi), TwipsToPixels(kGraphWindowHeight, dpi)));
    if (kept_) {
        std::vector<WindowPlace> screens;
        for (const QScreen* screen : QGuiApplication::screens()) {
            const QRect a = screen->availableGeometry();
            screens.push_back({a.x(), a.y(), a.width(), a.height()});
        }
        // A place from a screen that is gone would open the window out of reach.
        if (const auto on = PlaceOnScreens(*kept_, screens)) {
            place.setSize(QSize(on->width, on->height));
            if (keptPlace) place.moveTopLeft(QPoint(on->left, on->top));
        }
    }
    resize(place.size());
    move(place.topLeft());
    redraw();
    showNormal();
}

void GraphWindowBase::hideEvent(QHideEvent* event) {
    QWidget::hideEvent(event);
    Quietly([&] {
        const QRect g = geometry();
        kept_ = WindowPlace{pos().x(), pos().y(), g.width(), g.height()};
        // The place is a convenience: a write that fails only means the default place next time.
        WriteWindowPlace(app_.folders.program, objectName().toStdString(), *kept_);
    });
}

void GraphWindowBase::placeCaptions() {
    const double dpi = logicalDpi(this);
    const bool shown = CaptionFramesShown(PixelsToTwips(width(), dpi), PixelsToTwips(height(), dpi));
    captionX_->setVisible(shown);
    captionY_->setVisible(shown);
    if (!shown) {
        chart_->chart()->setMargins(QMargins(2, 2, 2, 2));
        return;
    }
    captionX_->adjustSize();
    captionY_->adjustSize();
    // The plot keeps clear of the captions, so they never cover a tick label.
    chart_->chart()->setMargins(QMargins(captionY_->width() + 2, 2, 6, captionX_->height() + 2));
    // Under the x axis at the bottom centre, and beside the y axis at the left middle.
    captionX_->move((width() - captionX_->width()) / 2, height() - captionX_->height() - 3);
    captionY_->move(3, (height() - captionY_->height()) / 2);
    captionX_->raise();
    captionY_->raise();
}

void GraphWindowBase::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    chart_->setGeometry(rect());
    placeCaptions();
}

void GraphWindowBase::closeEvent(QCloseEvent* event) {
    // Closing only hides it: the graphs open again from the race card.
    event->ignore();
    hide();
}

frmPaceGraph::frmPaceGraph(Application& app, QWidget* parent)
    : GraphWindowBase(app, GraphWindow::Pace, "frmPaceGraph", QStringLiteral("ペースグラフ"),
                      QStringLiteral("P前"), QStringLiteral("P後"), parent) {
    redraw();
}

bool frmPaceGraph::hears(Change c) const {
    return c == Change::CalculationDone || c == Change::RaceCardReset || c == Change::RaceOpened;
}

frmRaceGraph::frmRaceGraph(Application& app, QWidget* parent)
    : GraphWindowBase(app, GraphWindow::Race, "frmRaceGraph", QStringLiteral("予測R指数グラフ"),
                      QStringLiteral("R前"), QStringLiteral("R後"), parent) {
    redraw();
}

bool frmRaceGraph::hears(Change c) const {
    return c == Change::CalculationDone || c == Change::RaceCardReset || c == Change::RaceOpened;
}

bool frmRaceGraph::PrintGraph(QPagedPaintDevice& printer) {
    if (!isVisible()) return true;
    return Quietly(true, [&] {
        // The window's drawing recorded as painting commands, not pixels: the
        // printer draws the chart and its texts at its own resolution.
        QPicture picture;
        QPainter recorder(&picture);
        render(&recorder);
        recorder.end();
        const QRectF page = printer.pageLayout().fullRectPoints();
        const double twipsPerPoint = kTwipsPerInch / 72.0;
        const PrintSize size =
            GraphPrintSize(width(), height(), page.width() * twipsPerPoint, page.height() * twipsPerPoint);
        QPainter painter;
        if (!painter.begin(&printer)) return true;
        // Device units per twip; the painter's origin is the printable area's corner.
        const double unit = printer.logicalDpiX() / static_cast<double>(kTwipsPerInch);
        const QPointF origin =
            printer.pageLayout().paintRectPoints().topLeft() * (printer.logicalDpiX() / 72.0);
        const QRectF target(kGraphPrintOffset * unit - origin.x(), kGraphPrintOffset * unit - origin.y(),
                            size.width * unit, size.height * unit);
        painter.setClipRect(target);
        painter.translate(target.topLeft());
        // A picture plays back scaled by the device's resolution over its own.
        const double played = printer.logicalDpiX() / static_cast<double>(picture.logicalDpiX());
        painter.scale(target.width() / (width() * played), target.height() / (height() * played));
        painter.drawPicture(0, 0, picture);
        return !painter.end();
    });
}

frmRaceHistoryGraph::frmRaceHistoryGraph(Application& app, QWidget* parent)
    : GraphWindowBase(app, GraphWindow::History, "frmRaceHistoryGraph", QStringLiteral("R指数遷移グラフ"),
                      QStringLiteral("R前"), QStringLiteral("R後"), parent) {
    redraw();
}

bool frmRaceHistoryGraph::hears(Change c) const {
    return c == Change::CalculationDone || c == Change::RaceCardReset || c == Change::RaceOpened ||
           c == Change::RunnerChosen || c == Change::PaneChanged;
}

GraphWindows MakeGraphWindows(Application& app, QWidget* parent) {
    return {new frmPaceGraph(app, parent), new frmRaceGraph(app, parent),
            new frmRaceHistoryGraph(app, parent)};
}

void OpenGraphWindows(const GraphWindows& windows, Application& app, QWidget* raceCard) {
    Quietly([&] {
        if (!veltrix::OpenGraphWindows(app)) return;
        const QRect card = raceCard ? raceCard->frameGeometry() : QRect();
        const auto places = GraphWindowPlaces(card.left(), card.top(), card.width(),
                                              logicalDpi(raceCard ? raceCard : windows.pace));
        GraphWindowBase* const all[] = {windows.pace, windows.race, windows.history};
        for (size_t i = 0; i < 3; ++i) {
            if (!all[i]) continue;
            all[i]->DrawGraph(QPoint(places[i].left, places[i].top), true);
            MakeTopMost(all[i]);
        }
        if (raceCard) raceCard->activateWindow();
    });
}

void OpenPastRaceGraphs(const GraphWindows& windows, Application& app, const PastRaceGraphs& race,
                        const std::string& raceCaption, const QRect& frame) {
    if (raceCaption.find_first_not_of(' ') == std::string::npos) return;
    Quietly([&] {
        SetPastRaceGraphs(app, race);
        if (windows.pace) {
            windows.pace->DrawGraph(QPoint(frame.left() + frame.width(), frame.top()));
            MakeTopMost(windows.pace);
        }
        if (windows.race) {
            const int below = windows.pace ? windows.pace->frameGeometry().height() : 0;
            windows.race->DrawGraph(QPoint(frame.left() + frame.width(), frame.top() + below));
            MakeTopMost(windows.race);
        }
    });
}

void PrintRaceGraphWithDialog(frmRaceGraph& window, QWidget* raceCard, UserInterface& ui) {
    // The print is of the graph on screen.
    if (!window.isVisible()) {
        ui.showMessage(kRaceGraphClosedMessage, Icon::Warning);
        return;
    }
    Quietly([&] {
        QPrinter printer(QPrinter::HighResolution);
        QPrintDialog dialog(&printer, raceCard);
        if (dialog.exec() != QDialog::Accepted) return;
        window.PrintGraph(printer);
    });
}

}  // namespace veltrix::gui
