#include "ui/chart_builder.h"

#include <QAreaSeries>
#include <QBarCategoryAxis>
#include <QBarSeries>
#include <QBarSet>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QPainter>
#include <QSplineSeries>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace wf::ui {

namespace {

constexpr const char* kCauseBarsName = "CauseBars";

// Value marks with our own texts (grouped thousands, one decimal) above the points of a
// series; they follow the plot area when the chart is resized.
class ValueMarks : public QObject {
public:
    ValueMarks(QChart* chart, QAbstractSeries* series, const std::vector<ChartPoint>& points,
               const std::vector<QString>& texts)
        : QObject(chart)
        , chart_(chart)
        , series_(series) {
        setObjectName(QStringLiteral("ValueMarks"));
        const std::size_t n = std::min(points.size(), texts.size());
        for (std::size_t i = 0; i < n; ++i) {
            auto* item = new QGraphicsSimpleTextItem(texts[i], chart);
            QFont f = item->font();
            f.setPointSizeF(f.pointSizeF() * 0.8);
            item->setFont(f);
            item->setZValue(20);
            items_.push_back({QPointF(points[i].x, points[i].y), item});
        }
        connect(chart, &QChart::plotAreaChanged, this, &ValueMarks::place);
        place();
    }
    // The texts are graphics children of the chart and die with it; a refill drops them
    // explicitly.
    void dropItems() {
        for (auto& [p, item] : items_) delete item;
        items_.clear();
    }
    void place() {
        const bool visible = series_->isVisible();
        for (auto& [p, item] : items_) {
            const QPointF at = chart_->mapToPosition(p, series_);
            const QRectF r = item->boundingRect();
            item->setPos(at.x() - r.width() / 2, at.y() - r.height() - 2);
            item->setVisible(visible);
        }
    }

private:
    QChart* chart_;
    QAbstractSeries* series_;
    std::vector<std::pair<QPointF, QGraphicsSimpleTextItem*>> items_;
};

QColor seriesColor(const SeriesData& s, bool* known) {
    std::uint32_t rgb = 0;
    *known = false;
    if (s.hasColor) {
        rgb = s.rgb;
        *known = true;
    } else {
        for (const auto& p : s.points)
            if (p.hasColor) {
                rgb = p.rgb;
                *known = true;
                break;
            }
    }
    QColor c((rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
    c.setAlpha(std::clamp(255 * (100 - s.transparency) / 100, 0, 255));
    return c;
}

QImage crossMarker(const QColor& color) {
    QImage img(7, 7, QImage::Format_ARGB32);
    img.fill(Qt::transparent);
    QPainter p(&img);
    p.setPen(QPen(color, 1));
    p.drawLine(0, 0, 6, 6);
    p.drawLine(0, 6, 6, 0);
    return img;
}

struct Range {
    double lo = std::numeric_limits<double>::infinity();
    double hi = -std::numeric_limits<double>::infinity();
    void add(double v) {
        if (!std::isfinite(v)) return;
        lo = std::min(lo, v);
        hi = std::max(hi, v);
    }
    bool valid() const { return lo <= hi; }
};

void applyRange(QValueAxis* axis, Range r, std::optional<double> fixedMin = {}) {
    if (fixedMin) r.add(*fixedMin);
    if (!r.valid()) {
        axis->setRange(0, 1);
        return;
    }
    double span = r.hi - r.lo;
    if (span <= 0) span = std::max(1.0, std::fabs(r.hi));
    const double lo = fixedMin ? *fixedMin : r.lo - 0.05 * span;
    axis->setRange(lo, r.hi + 0.05 * span);
}

QXYSeries* makeXY(const SeriesData& s) {
    switch (s.kind) {
    case SeriesKind::Curve:
        return new QSplineSeries;
    default:
        return new QLineSeries;
    }
}

} // namespace

void fillChart(QChart* chart, const ChartData& d, const ChartOptions& o) {
    // ValueMarks has no meta-object of its own: find it by name, check by dynamic_cast.
    const auto children = chart->children();
    for (QObject* c : children)
        if (c->objectName() == QLatin1String("ValueMarks"))
            if (auto* m = dynamic_cast<ValueMarks*>(c)) {
                m->dropItems();
                delete m;
            }
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    QStringList titleLines = d.titleLines.isEmpty() ? QStringList{d.title} : d.titleLines;
    for (QString& t : titleLines) t = t.toHtmlEscaped();
    chart->setTitle(titleLines.join(QStringLiteral("<br>")));
    chart->legend()->setVisible(o.legend || d.legendVisible);
    // Chart1 lists a dozen model series and every cause: a column at the side keeps the
    // texts whole where a row at the bottom would cut them.
    chart->legend()->setAlignment(o.legendAlignment);

    // The bottom axis shows the points' labels (interval times) when they carry any.
    QStringList categories;
    for (const auto& s : d.series) {
        if (s.axis == Axis::TopRight) continue;
        QStringList labels;
        for (const auto& p : s.points) labels << p.label;
        const bool labelled = std::any_of(labels.cbegin(), labels.cend(),
                                          [](const QString& t) { return !t.isEmpty(); });
        if (labelled && labels.size() > categories.size()) categories = labels;
    }
    QAbstractAxis* bottom = nullptr;
    QBarCategoryAxis* categoryAxis = nullptr;
    QValueAxis* bottomValue = nullptr;
    if (!categories.isEmpty()) {
        categoryAxis = new QBarCategoryAxis;
        QStringList unique;
        for (QString c : categories) {
            while (unique.contains(c)) c += QChar(0x200B); // the axis refuses duplicates
            unique << c;
        }
        categoryAxis->append(unique);
        categoryAxis->setLabelsAngle(categories.size() > 25 ? -90 : 0);
        if (categories.size() > 25) {
            QFont f = categoryAxis->labelsFont();
            f.setPointSizeF(f.pointSizeF() * 0.8);
            categoryAxis->setLabelsFont(f);
        }
        bottom = categoryAxis;
    } else {
        bottomValue = new QValueAxis;
        bottom = bottomValue;
    }
    bottom->setTitleText(d.bottomAxis);
    chart->addAxis(bottom, Qt::AlignBottom);

    auto* left = new QValueAxis;
    left->setTitleText(d.leftAxis);
    chart->addAxis(left, Qt::AlignLeft);
    QValueAxis* right = nullptr;
    QValueAxis* top = nullptr;
    const bool needRight = !d.rightAxis.isEmpty() ||
                           std::any_of(d.series.cbegin(), d.series.cend(),
                                       [](const SeriesData& s) { return s.axis != Axis::Left; });
    if (needRight) {
        right = new QValueAxis;
        right->setTitleText(d.rightAxis);
        chart->addAxis(right, Qt::AlignRight);
    }
    const bool needTop = !d.topAxis.isEmpty() ||
                         std::any_of(d.series.cbegin(), d.series.cend(),
                                     [](const SeriesData& s) { return s.axis == Axis::TopRight; });
    if (needTop) {
        top = new QValueAxis;
        top->setTitleText(d.topAxis);
        chart->addAxis(top, Qt::AlignTop);
    }
    Range leftR, rightR, topR, bottomR;

    QBarSeries* bars = nullptr;
    std::vector<ValueMarks*> marks;
    for (const auto& s : d.series) {
        bool known = false;
        const QColor color = seriesColor(s, &known);
        if (s.kind == SeriesKind::Bar) {
            // Fixed bar series are always empty and inactive: nothing to draw.
            if (s.causeIndex < 0 && s.points.empty()) continue;
            if (!bars) {
                bars = new QBarSeries;
                bars->setObjectName(QString::fromLatin1(kCauseBarsName));
                bars->setBarWidth(0.9);
            }
            auto* set = new QBarSet(s.title);
            set->setObjectName(s.name);
            for (const auto& p : s.points) {
                *set << p.y;
                leftR.add(p.y);
            }
            if (known) {
                set->setColor(color);
                set->setBorderColor(color.alpha() == 255 ? color.darker(140) : color);
            }
            bars->append(set);
            continue;
        }

        QAbstractSeries* series = nullptr;
        QXYSeries* xy = nullptr;
        if (s.kind == SeriesKind::Area || s.kind == SeriesKind::GradientArea) {
            auto* upper = new QLineSeries;
            for (const auto& p : s.points) upper->append(p.x, p.y);
            auto* area = new QAreaSeries(upper);
            upper->setParent(area); // the area does not own its line; it goes with the area
            if (s.kind == SeriesKind::GradientArea) {
                QLinearGradient g(QPointF(0, 0), QPointF(0, 1));
                g.setCoordinateMode(QGradient::ObjectBoundingMode);
                QColor c1 = known ? color : QColor(0x80, 0x80, 0xC0);
                QColor c2 = c1;
                c2.setAlpha(40);
                g.setColorAt(0.0, c1);
                g.setColorAt(1.0, c2);
                area->setBrush(g);
                area->setPen(QPen(c1.darker(120), 1));
            } else if (known) {
                area->setColor(color);
                area->setBorderColor(color.darker(120));
            }
            series = area;
        } else {
            xy = makeXY(s);
            for (const auto& p : s.points) xy->append(p.x, p.y);
            if (s.kind == SeriesKind::LineWithCircles) {
                xy->setPointsVisible(true);
                xy->setMarkerSize(6); // a circle of radius 3
            } else if (s.kind == SeriesKind::LineWithCrosses) {
                xy->setLightMarker(crossMarker(known ? color : QColor(Qt::black)));
            }
            if (s.valueLabels && s.valueTexts.empty()) {
                xy->setPointLabelsVisible(true);
                xy->setPointLabelsFormat(QStringLiteral("@yPoint"));
                xy->setPointLabelsClipping(false);
            }
            series = xy;
        }
        series->setObjectName(s.name);
        series->setName(s.title);
        chart->addSeries(series);
        if (xy) {
            // After addSeries, so a series without a colour of its own keeps the theme's.
            QPen pen = xy->pen();
            pen.setWidthF(2);
            if (known) pen.setColor(color);
            if (s.kind == SeriesKind::DashedLine) pen.setStyle(Qt::DashLine);
            xy->setPen(pen);
            if (s.kind == SeriesKind::LineWithCircles && known) xy->setBrush(color);
        }
        const bool topRight = s.axis == Axis::TopRight;
        series->attachAxis(topRight ? static_cast<QAbstractAxis*>(top) : bottom);
        QValueAxis* vertical = s.axis == Axis::Left ? left : right;
        series->attachAxis(vertical);
        Range& vr = s.axis == Axis::Left ? leftR : rightR;
        for (const auto& p : s.points) {
            vr.add(p.y);
            (topRight ? topR : bottomR).add(p.x);
        }
        if (s.kind == SeriesKind::Area || s.kind == SeriesKind::GradientArea) vr.add(0);
        series->setVisible(s.active);
        if (s.valueLabels && !s.valueTexts.empty())
            marks.push_back(new ValueMarks(chart, series, s.points, s.valueTexts));
        const auto markers = chart->legend()->markers(series);
        for (auto* m : markers) m->setVisible(s.active && s.inLegend && !s.title.isEmpty());
    }
    if (bars) {
        chart->addSeries(bars);
        bars->attachAxis(bottom);
        bars->attachAxis(left);
        leftR.add(0);
        const auto markers = chart->legend()->markers(bars);
        for (int i = 0; i < markers.size() && i < bars->count(); ++i)
            markers[i]->setVisible(!bars->barSets()[i]->label().isEmpty());
    }

    applyRange(left, leftR, o.leftMin);
    if (right) {
        if (o.rightRange)
            right->setRange(o.rightRange->first, o.rightRange->second);
        else if (d.rightAxisFixed)
            right->setRange(d.rightMin, d.rightMax);
        else
            applyRange(right, rightR);
    }
    if (top) applyRange(top, topR);
    if (bottomValue) applyRange(bottomValue, bottomR);
    if (o.hideAxisLabels)
        // Transparent rather than hidden: hidden labels leave the axis titles no room.
        for (QAbstractAxis* a : chart->axes()) a->setLabelsColor(Qt::transparent);
    for (ValueMarks* m : marks) m->place();
}

QAbstractSeries* findSeries(QChart* chart, const QString& name) {
    for (QAbstractSeries* s : chart->series())
        if (s->objectName() == name) return s;
    return nullptr;
}

QBarSeries* causeBars(QChart* chart) {
    for (QAbstractSeries* s : chart->series())
        if (s->objectName() == QLatin1String(kCauseBarsName)) return qobject_cast<QBarSeries*>(s);
    return nullptr;
}

} // namespace wf::ui
