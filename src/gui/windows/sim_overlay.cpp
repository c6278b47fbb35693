#include "gui/windows/sim_overlay.h"

#include <QAction>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QImage>
#include <QKeyEvent>
#include <QMenu>
#include <QPainter>
#include <QThread>
#include <algorithm>
#include <optional>

#include "gui/widgets/qt_host.h"

namespace veltrix::gui {

namespace {

QImage imageOf(const SimCanvas& canvas) {
    // Shares the core's pixels: 0xAARRGGBB words are Qt's ARGB32.
    return QImage(reinterpret_cast<const uchar*>(canvas.data()), canvas.width(), canvas.height(),
                  canvas.width() * 4, QImage::Format_ARGB32);
}

}  // namespace

QRegion RegionFromRects(std::span<const SimRect> rects) {
    if (!ShapeIsBuildable(rects)) return {};
    QRegion region;
    for (const SimRect& r : rects) region += QRect(r.x, r.y, r.w, r.h);
    return region;
}

SimCanvasWindow::SimCanvasWindow(const SimCanvas& canvas, QWidget* owner, const QString& name)
    : QWidget(owner,
              Qt::Tool | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint | Qt::WindowDoesNotAcceptFocus),
      canvas_(canvas) {
    setObjectName(name);
    setAttribute(Qt::WA_TranslucentBackground);
    setAttribute(Qt::WA_TransparentForMouseEvents);
    setAttribute(Qt::WA_NoSystemBackground);
    setAttribute(Qt::WA_ShowWithoutActivating);
    // The keyboard stays with the window the user ran the simulation from.
    setFocusPolicy(Qt::NoFocus);
    resize(canvas.width(), canvas.height());
}

void SimCanvasWindow::paintEvent(QPaintEvent*) {
    QPainter p(this);
    p.setCompositionMode(QPainter::CompositionMode_Source);
    p.drawImage(0, 0, imageOf(canvas_));
}

SimOverlayStage::SimOverlayStage(QWidget* host, ControlLookup controls, UserInterface& ui,
                                 std::function<void()> endProgram)
    : QObject(host),
      host_(host),
      controls_(std::move(controls)),
      ui_(ui),
      endProgram_(std::move(endProgram)) {}

SimOverlayStage::~SimOverlayStage() {
    if (reading_) ReadWholeKeyboard(nullptr);
    delete runners_.data();
    delete marker_.data();
}

void SetControlsEnabled(const ControlLookup& window, const LockedControls& controls, bool enabled) {
    if (!window) return;
    for (LockedControl c : controls) {
        QObject* o = window(c);
        if (auto* menu = qobject_cast<QMenu*>(o)) {
            menu->setEnabled(enabled);
            menu->menuAction()->setEnabled(enabled);
        } else if (auto* w = qobject_cast<QWidget*>(o)) {
            w->setEnabled(enabled);
        } else if (auto* a = qobject_cast<QAction*>(o)) {
            a->setEnabled(enabled);
        }
    }
}

QPoint SimOverlayStage::onScreen(int x, int y) const {
    return host_ ? host_->mapToGlobal(QPoint(x, y)) : QPoint(x, y);
}

bool SimOverlayStage::open(const LockedControls& controls, const SimGeometry& course, int lanes) {
    SharedPump().clearCancel();
    SetControlsEnabled(controls_, controls, false);
    canvas_ = std::make_unique<CanvasSurface>(course, lanes);
    const SimRect window = canvas_->window();
    const QRegion runnerShape = RegionFromRects(std::span<const SimRect>(&window, 1));
    const QRegion markerShape =
        RegionFromRects(MarkerShape()) & QRegion(0, 0, canvas_->marker().width(), canvas_->marker().height());
    if (runnerShape.isEmpty() || markerShape.isEmpty()) {
        ui_.showMessage(kRegionFailure, Icon::Warning);
        if (endProgram_) endProgram_();
        return true;
    }
    runners_ = new SimCanvasWindow(canvas_->runners(), host_, QStringLiteral("frmSimRunners"));
    runners_->setMask(runnerShape.translated(-window.x, -window.y));
    runners_->move(onScreen(window.x, window.y));
    marker_ = new SimCanvasWindow(canvas_->marker(), host_, QStringLiteral("frmSimChangePoint"));
    marker_->setMask(markerShape);
    frame_ = 0;
    runners_->show();
    runners_->raise();
    keys_ = {};
    ReadWholeKeyboard(this);
    reading_ = true;
    return false;
}

void SimOverlayStage::close(const LockedControls& controls) {
    if (reading_) ReadWholeKeyboard(nullptr);
    reading_ = false;
    delete runners_.data();
    delete marker_.data();
    canvas_.reset();
    SetControlsEnabled(controls_, controls, true);
    if (host_) host_->activateWindow();
}

SimKeys SimOverlayStage::poll() {
    SharedPump().processEvents();
    SimKeys keys = keys_;
    // Closing the window under the run cancels it, as Esc does.
    keys.esc = keys.esc || SharedPump().cancelRequested();
    return keys;
}

namespace {

std::optional<SimKey> simKeyOf(int key) {
    switch (key) {
        case Qt::Key_Escape:
            return SimKey::Esc;
        case Qt::Key_Up:
            return SimKey::Up;
        case Qt::Key_Down:
            return SimKey::Down;
        case Qt::Key_Left:
            return SimKey::Left;
        case Qt::Key_Right:
            return SimKey::Right;
        default:
            return std::nullopt;
    }
}

}  // namespace

bool SimOverlayStage::wantsKey(int key) const { return simKeyOf(key).has_value(); }

void SimOverlayStage::keyChanged(int key, bool down, bool autoRepeat) {
    if (auto k = simKeyOf(key)) ApplySimKey(keys_, *k, down, autoRepeat);
}

void SimOverlayStage::keyboardLost() { ReleaseSimArrows(keys_); }

void SimOverlayStage::beginFrame(int background) { canvas_->beginFrame(background); }

void SimOverlayStage::drawRunner(const SimRunner& runner, int x, int y) { canvas_->drawRunner(runner, x, y); }

void SimOverlayStage::drawChangePoint(int x, int picture) { canvas_->drawChangePoint(x, picture); }

void SimOverlayStage::endFrame() {
    ++frame_;
    if (runners_) runners_->repaint();
    if (marker_) {
        const SimRect r = canvas_->markerRect();
        markerAt_ = QPoint(r.x, r.y);
        marker_->move(onScreen(r.x, r.y));
        if (!marker_->isVisible()) marker_->show();
        marker_->repaint();
    }
    emit frameShown(frame_);
}

QImage SimOverlayStage::composite() const {
    if (!host_) return {};
    QImage image = host_->grab().toImage().convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (!canvas_) return image;
    QPainter p(&image);
    const qreal ratio = image.devicePixelRatio();
    p.scale(1 / ratio, 1 / ratio);
    const SimRect w = canvas_->window();
    p.drawImage(QPoint(w.x, w.y), imageOf(canvas_->runners()));
    QImage marker = imageOf(canvas_->marker()).copy();
    p.drawImage(markerAt_, marker);
    return image;
}

void LogSimulationEnd(SimOutcome outcome, const SimResult& result) {
    if (outcome != SimOutcome::Ran) return;
    LogLine("simulation ended: frames=" + std::to_string(result.frames) + " interval=" +
            std::to_string(result.interval) + " escaped=" + std::to_string(result.escaped ? 1 : 0));
}

std::int64_t PumpingClock::nowMs() {
    static QElapsedTimer timer = [] {
        QElapsedTimer t;
        t.start();
        return t;
    }();
    return timer.elapsed();
}

void PumpingClock::sleepMs(int ms) {
    const std::int64_t until = nowMs() + ms;
    for (;;) {
        SharedPump().processEvents();
        const std::int64_t left = until - nowMs();
        if (left <= 0) return;
        QThread::msleep(static_cast<unsigned long>(std::min<std::int64_t>(left, 2)));
    }
}

}  // namespace veltrix::gui
