#pragma once
// The simulation on screen: the runner window and the change-point window,
// frameless and shaped from the rectangle lists of the core, laid over the
// window that runs the simulation (the main window or the race model window).
// The keys are read from the whole keyboard while the animation runs, in
// whichever window has the focus; the arrow keys count as held while they are
// down, as polling the keyboard would see them.
#include <QObject>
#include <QPointer>
#include <QRegion>
#include <QWidget>
#include <functional>
#include <memory>
#include <span>

#include "base/host.h"
#include "gui/widgets/qt_host.h"
#include "simulation/sim_canvas.h"
#include "simulation/sim_command.h"

namespace veltrix::gui {

// A region from a rectangle list; empty when the list makes no shape.
QRegion RegionFromRects(std::span<const SimRect> rects);

// Where a window keeps each control a lock names: a menu, a widget or an
// action of its own; nullptr for one it does not have.
using ControlLookup = std::function<QObject*(LockedControl)>;

// Enables or disables the controls: menus (with their menu-bar entries),
// widgets and actions.
void SetControlsEnabled(const ControlLookup& window, const LockedControls& controls, bool enabled);

inline constexpr const char* kRegionFailure = "It failed in reading of region data.";

// Shows one of the core's canvases; mouse clicks pass through it.
class SimCanvasWindow final : public QWidget {
    Q_OBJECT
public:
    SimCanvasWindow(const SimCanvas& canvas, QWidget* owner, const QString& name);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    const SimCanvas& canvas_;
};

// The stage of one window: disables its locked controls, puts up the two
// surfaces over it and takes them down again.
class SimOverlayStage final : public QObject,
                              public SimStage,
                              private SimKeyboard,
                              private SimSurface,
                              private KeyboardReader {
    Q_OBJECT
public:
    // host is drawn over and its controls are found through controls; ui shows
    // the region failure; endProgram is called after it.
    SimOverlayStage(QWidget* host, ControlLookup controls, UserInterface& ui,
                    std::function<void()> endProgram);
    ~SimOverlayStage() override;

    bool open(const LockedControls& controls, const SimGeometry& course, int lanes) override;
    SimKeyboard& keyboard() override { return *this; }
    SimSurface& surface() override { return *this; }
    void close(const LockedControls& controls) override;

    SimCanvasWindow* runnerWindow() const { return runners_; }
    SimCanvasWindow* markerWindow() const { return marker_; }
    // The host with the two surfaces drawn over it, as the user sees it.
    QImage composite() const;

signals:
    // After every frame is on screen; frame counts from 1.
    void frameShown(int frame);

private:
    SimKeys poll() override;
    bool wantsKey(int key) const override;
    void keyChanged(int key, bool down, bool autoRepeat) override;
    void keyboardLost() override;
    void beginFrame(int background) override;
    void drawRunner(const SimRunner& runner, int x, int y) override;
    void drawChangePoint(int x, int picture) override;
    void endFrame() override;
    QPoint onScreen(int x, int y) const;

    QPointer<QWidget> host_;
    ControlLookup controls_;
    UserInterface& ui_;
    std::function<void()> endProgram_;
    std::unique_ptr<CanvasSurface> canvas_;
    QPointer<SimCanvasWindow> runners_;
    QPointer<SimCanvasWindow> marker_;
    QPoint markerAt_;
    SimKeys keys_;
    bool reading_ = false;
    int frame_ = 0;
};

// The log line of a run that ended: frames drawn, the last frame interval and
// whether Esc ended it.
void LogSimulationEnd(SimOutcome outcome, const SimResult& result);

// The simulation's clock on screen: waits while the windows keep painting and
// the keyboard keeps reporting.
class PumpingClock final : public Clock {
public:
    std::int64_t nowMs() override;
    void sleepMs(int ms) override;
};

}  // namespace veltrix::gui
