#include "gui/widgets/chart_view.h"

#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QFont>
#include <QFontMetricsF>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLineSeries>
#include <QMouseEvent>
#include <QScatterSeries>
#include <QValueAxis>
#include <algorithm>
#include <vector>

#include "graphs/label_layout.h"
#include "gui/widgets/qt_host.h"

namespace veltrix::gui {

namespace {

QColor toQColor(const Rgb& c) { return QColor(c.r, c.g, c.b); }

constexpr qreal kMarkerSize = 7;

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
        scatter->setMarkerSize(kMarkerSize);
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

// The labels of a chart's points, laid out by the core's rule whenever the
// plot area moves (a resize, new axes, a chart rendered for the printer).
class PointLabels final : public QObject {
public:
    explicit PointLabels(QChart* chart) : QObject(chart), chart_(chart) {
        setObjectName(QStringLiteral("pointLabels"));
        connect(chart, &QChart::plotAreaChanged, this, &PointLabels::relayout);
    }
    // The items are the chart's: a chart that goes deletes them before this object.
    void clear() {
        for (Label& l : labels_) delete l.item;
        labels_.clear();
    }
    void add(QAbstractSeries* series, const ChartPoint& point, const std::string& text, const Rgb& colour) {
        Label l;
        l.series = series;
        l.value = QPointF(point.x, point.y);
        l.full = toQString(text);
        l.shortText = toQString(ShortPointLabel(text));
        l.item = new QGraphicsSimpleTextItem(l.full, chart_);
        QFont font = l.item->font();
        font.setPointSizeF(7);
        l.item->setFont(font);
        l.item->setBrush(toQColor(colour));
        l.item->setZValue(10);
        labels_.push_back(l);
    }
    void relayout() {
        const QRectF plot = chart_->plotArea();
        std::vector<LabelBox> boxes;
        for (const Label& l : labels_) {
            const QFontMetricsF fm(l.item->font());
            const QPointF at = chart_->mapToPosition(l.value, l.series);
            boxes.push_back({at.x(), at.y(), fm.horizontalAdvance(l.full), fm.height(),
                             fm.horizontalAdvance(l.shortText), fm.height()});
        }
        const auto places = LayoutPointLabels(boxes, {plot.left(), plot.top(), plot.right(), plot.bottom()},
                                              kMarkerSize / 2 + 2);
        for (size_t i = 0; i < labels_.size() && i < places.size(); ++i) {
            labels_[i].item->setText(places[i].shortened ? labels_[i].shortText : labels_[i].full);
            labels_[i].item->setPos(places[i].left, places[i].top);
        }
    }
    QList<DrawnLabel> drawn() const {
        QList<DrawnLabel> out;
        for (const Label& l : labels_)
            out.append({l.item->text(), l.full, l.value, l.item->mapRectToParent(l.item->boundingRect()),
                        l.item->brush().color()});
        return out;
    }

private:
    struct Label {
        QAbstractSeries* series = nullptr;
        QPointF value;
        QString full;
        QString shortText;
        QGraphicsSimpleTextItem* item = nullptr;
    };
    QChart* chart_;
    std::vector<Label> labels_;
};

}  // namespace

void FillChart(QChart* chart, const ChartModel& model) {
    if (auto* old =
            chart->findChild<PointLabels*>(QStringLiteral("pointLabels"), Qt::FindDirectChildrenOnly)) {
        old->clear();
        delete old;
    }
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
    PointLabels* labels = nullptr;
    for (const ChartSeries& s : model.series) {
        if (s.kind != SeriesKind::Bar) {
            QXYSeries* series = xySeries(s);
            chart->addSeries(series);
            series->attachAxis(x);
            series->attachAxis(y);
            if (!s.labels.empty()) {
                if (!labels) labels = new PointLabels(chart);
                for (size_t i = 0; i < s.points.size() && i < s.labels.size(); ++i)
                    if (!s.labels[i].empty()) labels->add(series, s.points[i], s.labels[i], s.labelColour);
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
    if (labels) labels->relayout();
}

QList<DrawnLabel> DrawnPointLabels(const QChart* chart) {
    const auto* labels =
        chart->findChild<PointLabels*>(QStringLiteral("pointLabels"), Qt::FindDirectChildrenOnly);
    return labels ? labels->drawn() : QList<DrawnLabel>();
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
