#pragma once
// The main window's lower part: the past-performance pane fpsHistory and the
// R-index timeline chart mscGraph beside it with its options. Forwards clicks to
// the pane's commands and redraws from the core when it hears of a change.
#include <QObject>
#include <array>

#include "app/application.h"

class QButtonGroup;
class QCheckBox;
class QFrame;
class QLabel;
class QMenu;
class QModelIndex;
class QPoint;
class QRadioButton;
class QTableView;

namespace veltrix::gui {
class ChartView;
class SheetModel;
}  // namespace veltrix::gui

namespace veltrix::gui {

class HistoryArea final : public QObject {
    Q_OBJECT
public:
    // fpsHistory shows the pane; the chart and its options fill fraChart; the
    // right-click on a run opens mnuRace and puts its race id into lblJRV.
    HistoryArea(Application& app, QTableView* fpsHistory, QFrame* fraChart, QMenu* mnuRace, QLabel* lblJRV,
                QObject* parent);

    SheetModel* model() const { return model_; }
    ChartView* mscGraph() const { return mscGraph_; }
    QRadioButton* optGraphOption(int i) const { return optGraphOption_[static_cast<size_t>(i)]; }
    QCheckBox* chkGraphOption() const { return chkGraphOption_; }

    // The chart as the core holds it.
    void PutGraph();
    // The last ten runs in view.
    void scrollToLastRuns();

private:
    void clicked(const QModelIndex& index);
    void menuRequested(const QPoint& pos);
    void optionClicked();
    void changed(Change change);

    Application& app_;
    Subscription subscription_;
    QTableView* view_;
    QMenu* mnuRace_;
    QLabel* lblJRV_;
    SheetModel* model_ = nullptr;
    ChartView* mscGraph_ = nullptr;
    QButtonGroup* options_ = nullptr;
    std::array<QRadioButton*, 3> optGraphOption_{};
    QCheckBox* chkGraphOption_ = nullptr;
};

}  // namespace veltrix::gui
