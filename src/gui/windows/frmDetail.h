#pragma once
// The histogram window "ヒストグラム": six bar charts of how the figures of the
// pane's used runs are spread. Shows what the core counted; redrawn whenever
// the pane is redrawn or a run is switched.
#include <QWidget>
#include <array>

#include "app/application.h"

namespace veltrix::gui {
class ChartView;
}  // namespace veltrix::gui

namespace veltrix::gui {

class frmDetail final : public QWidget {
    Q_OBJECT
public:
    explicit frmDetail(Application& app, QWidget* raceCard = nullptr);

    // mscRaceLevel, mscTimeZenhan, mscTimeKouhan, mscRaceZenhan, mscRaceKouhan, mscRaceMd.
    ChartView* chart(int n) const { return charts_[static_cast<size_t>(n)]; }

public slots:
    // mnuDetail: below the top of the race card, shown, counted anew.
    void openFromMenu();
    // Draws the six charts from the core's counts.
    void showCounts();

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    Application& app_;
    Subscription subscription_;
    QWidget* raceCard_ = nullptr;
    std::array<ChartView*, 6> charts_{};
};

// Where the window opens, from the race card's top-left corner.
inline constexpr int kDetailOffsetX = 12;
inline constexpr int kDetailOffsetY = 381;

}  // namespace veltrix::gui
