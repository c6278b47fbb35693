#pragma once
// The three small graph windows beside the race card: frmPaceGraph
// ("ペースグラフ"), frmRaceGraph ("予測R指数グラフ") and frmRaceHistoryGraph
// ("R指数遷移グラフ"). Each draws what the core holds for it on one ChartView,
// switches its colour scheme on a click, and redraws when the core says so.
#include <QWidget>
#include <optional>

#include "app/application.h"
#include "app/graph_commands.h"
#include "base/host.h"
#include "store/window_geometry.h"

class QLabel;
class QPagedPaintDevice;

namespace veltrix::gui {
class ChartView;
}  // namespace veltrix::gui

namespace veltrix::gui {

class GraphWindowBase : public QWidget {
    Q_OBJECT
public:
    ChartView* chart() const { return chart_; }
    QLabel* captionX() const { return captionX_; }
    QLabel* captionY() const { return captionY_; }
    // DrawPaceGraph / DrawRaceGraph: the window's size (2900 x 3200 twips at the
    // screen's logical DPI, or the size the user last gave it), its top-left
    // corner at topLeft (pixels) or, with keptPlace, where the user last left
    // it when that is on a screen; shown.
    void DrawGraph(const QPoint& topLeft, bool keptPlace = false);
    // Draws the chart and the caption frames from the core's state.
    void redraw();

protected:
    GraphWindowBase(Application& app, GraphWindow kind, const char* objectName, const QString& caption,
                    const QString& xCaption, const QString& yCaption, QWidget* parent);
    void resizeEvent(QResizeEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    // The place and size are kept in "VELTRIX.geometry" whenever the window goes.
    void hideEvent(QHideEvent* event) override;
    // Which of the core's changes this window redraws on.
    virtual bool hears(Change change) const = 0;
    Application& app_;

private:
    ChartModel model() const;
    bool dark() const;
    void placeCaptions();

    GraphWindow kind_;
    std::optional<WindowPlace> kept_;
    Subscription subscription_;
    ChartView* chart_ = nullptr;
    QLabel* captionX_ = nullptr;
    QLabel* captionY_ = nullptr;
};

class frmPaceGraph final : public GraphWindowBase {
    Q_OBJECT
public:
    explicit frmPaceGraph(Application& app, QWidget* parent = nullptr);

protected:
    bool hears(Change change) const override;
};

class frmRaceGraph final : public GraphWindowBase {
    Q_OBJECT
public:
    explicit frmRaceGraph(Application& app, QWidget* parent = nullptr);
    // PrintGraph: the window's picture, drawn into the printer's painter at its
    // resolution 1100 twips from the page's corner, in the box the core
    // computes; the window stays where it is. Nothing while the window is
    // hidden; true when nothing was printed.
    bool PrintGraph(QPagedPaintDevice& printer);

protected:
    bool hears(Change change) const override;
};

class frmRaceHistoryGraph final : public GraphWindowBase {
    Q_OBJECT
public:
    explicit frmRaceHistoryGraph(Application& app, QWidget* parent = nullptr);

protected:
    bool hears(Change change) const override;
};

struct GraphWindows {
    frmPaceGraph* pace = nullptr;
    frmRaceGraph* race = nullptr;
    frmRaceHistoryGraph* history = nullptr;
};

// Creates the three windows, hidden, owned by parent (the race card window).
GraphWindows MakeGraphWindows(Application& app, QWidget* parent);

// A race figure label or "R指数グラフ(&R)" on the race card: the three graphs of
// the race on show, one under the other along the race card's right edge, kept
// on top; the race card takes the focus back. Nothing while no race is shown.
void OpenGraphWindows(const GraphWindows& windows, Application& app, QWidget* raceCard);

// The race model window's race figure labels: the pace graph and the predicted
// R-index graph of a past race, one above the other, their left edges on the
// right edge of that window (frame: its frame geometry). Nothing when the race
// caption is empty (raceCaption trimmed).
void OpenPastRaceGraphs(const GraphWindows& windows, Application& app, const PastRaceGraphs& race,
                        const std::string& raceCaption, const QRect& frame);

// "予測R指数グラフの印刷(&R)": the printer dialog (which offers a PDF file),
// then PrintGraph.
// With the graph closed there is nothing to print: ui says so.
void PrintRaceGraphWithDialog(frmRaceGraph& window, QWidget* raceCard, UserInterface& ui);
inline constexpr const char* kRaceGraphClosedMessage = "予測R指数グラフを表示してから印刷してください。";

}  // namespace veltrix::gui
