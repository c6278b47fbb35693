#pragma once
// The one chart adapter: draws a core ChartModel (bar, line and scatter series
// over category or value axes, labelled scatter points, the model's colours) with Qt Charts. Every chart of
// the windows is one of these; a window hands it the model the core computed and nothing else.
#include <QChartView>

#include "graphs/chart_model.h"

namespace veltrix::gui {

class ChartView final : public QChartView {
    Q_OBJECT
public:
    explicit ChartView(QWidget* parent = nullptr);

    // Replaces everything drawn by the model's series and axes.
    void setChartModel(const ChartModel& model);
    const ChartModel& chartModel() const { return model_; }

signals:
    // A click on the chart (the graph windows switch their colour scheme on it).
    void clicked();

protected:
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    ChartModel model_;
};

// The chart of a model, as a new QChart (the view above uses it; printing may too).
QChart* BuildChart(const ChartModel& model);
// Puts the model's series and axes onto an existing chart, removing what it had.
void FillChart(QChart* chart, const ChartModel& model);

// A point label as drawn: its text (whole or shortened), the whole label, the
// point, its box in the chart's coordinates and its colour.
struct DrawnLabel {
    QString text;
    QString full;
    QPointF value;
    QRectF box;
    QColor colour;
};
QList<DrawnLabel> DrawnPointLabels(const QChart* chart);

}  // namespace veltrix::gui
