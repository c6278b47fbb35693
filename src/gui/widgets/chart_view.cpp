#include "gui/widgets/chart_view.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFont>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <vector>

#include "gui/widgets/qt_host.h"

namespace veltrix::gui {

namespace {

QColor toQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

void setUpAxis(QAbstractAxis* axis, const ChartAxis& a) {
    axis->setLabelsVisible(a.labelsVisible);
    axis->setGridLineVisible(a.gridLines);
    // Short labels such as "35" are shown whole, never elided.
    axis->setTruncateLabels(false);
    if (!a.title.empty()) axis->setTitleText(toQString(a.title));
    if (auto* v = qobject_cast<QValueAxis*>(axis)) {
        v->setRange(a.min, a.max);
        v->setTickCount(std::max(2, a.tickCount));
        v->setLabelFormat(QString::fromStdString(a.labelFormat));
    }
}

QXYSeries* xySeries(const ChartSeries& s) {
    QXYSeries* series = nullptr;
    if (s.kind == SeriesKind::Scatter) {
        auto* scatter = new QScatterSeries;
        scatter->setMarkerSize(7);
        scatter->setBorderColor(toQColor(s.colour));
        series = scatter;
    } else {
        series = new QLineSeries;
    }
    series->setName(toQString(s.name));
    series->setColor(toQColor(s.colour));
    for (const ChartPoint& p : s.points) series->append(p.x, p.y);
    return series;
}

// A label of its own per point: Qt Charts labels a series' points with one
// pattern, so each labelled point becomes a one-point series carrying its text.
std::vector<QXYSeries*> labelledPoints(const ChartSeries& s) {
    std::vector<QXYSeries*> out;
    for (size_t i = 0; i < s.points.size(); ++i) {
        ChartSeries one = s;
        one.points = {s.points[i]};
        QXYSeries* series = xySeries(one);
        const QString label = i < s.labels.size() ? toQString(s.labels[i]) : QString();
        series->setPointLabelsFormat(label);
        series->setPointLabelsVisible(!label.isEmpty());
        series->setPointLabelsColor(toQColor(s.labelColour));
        series->setPointLabelsClipping(false);
        QFont font = series->pointLabelsFont();
        font.setPointSizeF(7);
        series->setPointLabelsFont(font);
        out.push_back(series);
    }
    return out;
}

}  // namespace

void FillChart(QChart* chart, const ChartModel& model) {
    chart->removeAllSeries();
    for (QAbstractAxis* axis : chart->axes()) {
        chart->removeAxis(axis);
        delete axis;
    }
    chart->setTitle(toQString(model.title));
    chart->legend()->setVisible(model.legend);

    QAbstractAxis* x = nullptr;
    if (!model.categories.empty()) {
        auto* categories = new QBarCategoryAxis;
        for (const std::string& c : model.categories) categories->append(toQString(c));
        x = categories;
    } else {
        x = new QValueAxis;
    }
    setUpAxis(x, model.x);
    auto* y = new QValueAxis;
    setUpAxis(y, model.y);
    if (model.backdrop) {
        chart->setBackgroundBrush(toQColor(*model.backdrop));
        chart->setPlotAreaBackgroundVisible(false);
    }
    chart->addAxis(x, Qt::AlignBottom);
    chart->addAxis(y, Qt::AlignLeft);
    // After adding: the chart's theme decorates an axis as it is added.
    if (model.tickLabelColour) {
        x->setLabelsColor(toQColor(*model.tickLabelColour));
        y->setLabelsColor(toQColor(*model.tickLabelColour));
    }

    // All bar series of a chart share one group, side by side in each category.
    QBarSeries* bars = nullptr;
    for (const ChartSeries& s : model.series) {
        if (s.kind != SeriesKind::Bar) {
            std::vector<QXYSeries*> parts;
            if (s.labels.empty())
                parts.push_back(xySeries(s));
            else
                parts = labelledPoints(s);
            for (QXYSeries* series : parts) {
                chart->addSeries(series);
                series->attachAxis(x);
                series->attachAxis(y);
            }
            continue;
        }
        if (!bars) {
            bars = new QBarSeries;
            bars->setBarWidth(model.categories.size() > 50 ? 1.0 : 0.7);
        }
        auto* set = new QBarSet(toQString(s.name));
        set->setColor(toQColor(s.colour));
        set->setBorderColor(toQColor(s.colour));
        QList<qreal> values(static_cast<qsizetype>(model.categories.size()), 0.0);
        for (const ChartPoint& p : s.points) {
            const auto i = static_cast<qsizetype>(p.x);
            if (i >= 0 && i < values.size()) values[i] = p.y;
        }
        set->append(values);
        bars->append(set);
    }
    if (bars) {
        chart->addSeries(bars);
        bars->attachAxis(x);
        bars->attachAxis(y);
    }
}

QChart* BuildChart(const ChartModel& model) {
    auto* chart = new QChart;
    chart->setAnimationOptions(QChart::NoAnimation);
    chart->setMargins(QMargins(2, 2, 2, 2));
    chart->setBackgroundRoundness(0);
    FillChart(chart, model);
    return chart;
}

ChartView::ChartView(QWidget* parent) : QChartView(BuildChart(ChartModel()), parent) {
    setRenderHint(QPainter::Antialiasing, false);
}

void ChartView::mouseReleaseEvent(QMouseEvent* event) {
    QChartView::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton) emit clicked();
}

void ChartView::setChartModel(const ChartModel& model) {
    model_ = model;
    FillChart(chart(), model_);
}

}  // namespace veltrix::gui
