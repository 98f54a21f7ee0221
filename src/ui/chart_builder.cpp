#include "ui/chart_builder.h"

#include <QAreaSeries>
#include <QChart>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QLinearGradient>
#include <QListWidget>
#include <QLogValueAxis>
#include <QPainter>
#include <QPixmap>
#include <QSplineSeries>
#include <QTextDocumentFragment>
#include <QValueAxis>

#include <algorithm>
#include <cmath>
#include <limits>

namespace wf::ui {

namespace {

constexpr const char* kCause = "wfCause";   // a per-cause bar series: its cause index
constexpr const char* kListed = "wfListed"; // marker property: the entry belongs in the legend

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
        const QRectF plot = chart_->plotArea();
        QRectF lastShown;
        // A mark that would cover the one before it stays hidden until there is room.
        for (auto& [p, item] : items_) {
            const QPointF at = chart_->mapToPosition(p, series_);
            const QRectF r = item->boundingRect();
            item->setPos(at.x() - r.width() / 2, at.y() - r.height() - 2);
            const QRectF placed(item->pos(), r.size());
            const bool room =
                !lastShown.isValid() || !placed.intersects(lastShown.adjusted(-3, 0, 3, 0));
            const bool show = visible && room && plot.contains(at);
            item->setVisible(show);
            if (show) lastShown = placed;
        }
    }

private:
    QChart* chart_;
    QAbstractSeries* series_;
    std::vector<std::pair<QPointF, QGraphicsSimpleTextItem*>> items_;
};

// The smallest step of 1, 2 or 5 times a power of ten not below `raw`.
double niceStep(double raw) {
    if (!(raw > 0) || !std::isfinite(raw)) return 1;
    const double p = std::pow(10.0, std::floor(std::log10(raw)));
    const double f = raw / p;
    return (f <= 1 ? 1 : f <= 2 ? 2 : f <= 5 ? 5 : 10) * p;
}

// Lines of `text` no wider than `width` in `fm`, broken at spaces.
QStringList wrapped(const QString& text, const QFontMetrics& fm, int width) {
    QStringList lines;
    QString line;
    for (const QString& word : text.split(QLatin1Char(' '), Qt::SkipEmptyParts)) {
        const QString longer = line.isEmpty() ? word : line + QLatin1Char(' ') + word;
        if (!line.isEmpty() && fm.horizontalAdvance(longer) > width) {
            lines << line;
            line = word;
        } else {
            line = longer;
        }
    }
    if (!line.isEmpty()) lines << line;
    return lines;
}

// Fits the axes to the plot area whenever it changes: ticks at round steps about every
// 50 px, titles wrapped to their axis' length.
class AxisFitter : public QObject {
public:
    explicit AxisFitter(QChart* chart)
        : QObject(chart)
        , chart_(chart) {
        setObjectName(QStringLiteral("AxisFitter"));
        for (QAbstractAxis* a : chart->axes()) titles_.push_back({a, a->titleText()});
        for (QAbstractAxis* a : chart->axes()) titleFonts_.push_back(a->titleFont());
        for (const QString& l : chart->title().split(QStringLiteral("<br>")))
            titleLines_ << QTextDocumentFragment::fromHtml(l).toPlainText();
        connect(chart, &QChart::plotAreaChanged, this, &AxisFitter::fit);
    }
    void fit() {
        if (fitting_) return;
        fitting_ = true;
        const QRectF plot = chart_->plotArea();
        for (QAbstractAxis* a : chart_->axes()) {
            auto* v = qobject_cast<QValueAxis*>(a);
            if (!v) continue;
            const bool vertical = a->orientation() == Qt::Vertical;
            const double length = vertical ? plot.height() : plot.width();
            const double spacing = vertical ? 40 : 90;
            const double target = std::clamp(std::floor(length / spacing), 2.0, 10.0);
            const double step = niceStep((v->max() - v->min()) / (target + 1));
            v->setTickType(QValueAxis::TicksDynamic);
            v->setTickAnchor(0);
            v->setTickInterval(step);
        }
        for (std::size_t i = 0; i < titles_.size(); ++i) {
            const auto& [axis, title] = titles_[i];
            if (title.isEmpty()) continue;
            const double length =
                axis->orientation() == Qt::Vertical ? plot.height() : plot.width();
            const int room = std::max(40, int(length) - 8);
            // A word longer than the axis would end in an ellipsis: a smaller font keeps it
            // whole, down to a size still readable.
            QFont font = titleFonts_[i];
            for (;;) {
                int widest = 0;
                for (const QString& w : title.split(QLatin1Char(' '), Qt::SkipEmptyParts))
                    widest = std::max(widest, QFontMetrics(font).horizontalAdvance(w));
                if (widest <= room || font.pointSizeF() <= kSmallestTitlePt) break;
                font.setPointSizeF(std::max(kSmallestTitlePt, font.pointSizeF() - 0.5));
            }
            if (axis->titleFont() != font) axis->setTitleFont(font);
            const QFontMetrics fm(font);
            const QStringList lines = wrapped(title, fm, room);
            QStringList escaped;
            for (const QString& l : lines) escaped << l.toHtmlEscaped();
            const QString text = escaped.join(QStringLiteral("<br>"));
            if (axis->titleText() != text) axis->setTitleText(text);
        }
        // The caption too: its lines break at spaces rather than end in an ellipsis.
        const QFontMetrics tfm(chart_->titleFont());
        const QMargins m = chart_->margins();
        const int width = std::max(80, int(chart_->size().width()) - m.left() - m.right() - 40);
        QStringList lines;
        for (const QString& l : titleLines_)
            for (const QString& part : wrapped(l, tfm, width)) lines << part.toHtmlEscaped();
        const QString title = lines.join(QStringLiteral("<br>"));
        if (!titleLines_.isEmpty() && chart_->title() != title) chart_->setTitle(title);
        fitting_ = false;
    }

private:
    QChart* chart_;
    static constexpr double kSmallestTitlePt = 6;
    std::vector<std::pair<QAbstractAxis*, QString>> titles_;
    std::vector<QFont> titleFonts_; // as set up; a short axis may show them smaller
    QStringList titleLines_;
    bool fitting_ = false;
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

// A log axis from the power of ten below the values to the one above, so it shows at
// least two labelled decades.
void applyLogRange(QLogValueAxis* axis, Range r) {
    if (!r.valid() || !(r.lo > 0)) {
        axis->setRange(1, 10);
        return;
    }
    const double lo = std::pow(10.0, std::floor(std::log10(r.lo)));
    double hi = std::pow(10.0, std::ceil(std::log10(r.hi)));
    if (!(hi > lo)) hi = lo * 10;
    axis->setRange(lo, hi);
}

QAbstractAxis* makeLogAxis(const QString& title) {
    auto* axis = new QLogValueAxis;
    axis->setBase(10);
    axis->setLabelFormat(QStringLiteral("%.6g"));
    axis->setMinorTickCount(8); // the 2 … 9 of every decade
    axis->setTitleText(title);
    return axis;
}

// The per-cause bars of a chart as rectangles over their intervals' hours, the series
// side by side within each interval.
QAreaSeries* barArea(const SeriesData& s, int lane, int lanes) {
    auto* upper = new QLineSeries;
    auto* lower = new QLineSeries;
    double first = 0, last = 0;
    const std::size_t n = std::min(s.points.size(), s.barFrom.size());
    for (std::size_t i = 0; i < n; ++i) {
        const double a = s.barFrom[i];
        const double w = s.points[i].x - a;
        const double l = a + w * (0.05 + 0.9 * lane / lanes);
        const double r = a + w * (0.05 + 0.9 * (lane + 1) / lanes);
        const double y = s.points[i].y;
        upper->append({QPointF(l, 0), QPointF(l, y), QPointF(r, y), QPointF(r, 0)});
        if (i == 0) first = l;
        last = r;
    }
    lower->append({QPointF(first, 0), QPointF(last, 0)});
    auto* area = new QAreaSeries(upper, lower);
    // The area does not own its lines; they go with it.
    upper->setParent(area);
    lower->setParent(area);
    return area;
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
    for (QObject* c : chart->children())
        if (c->objectName() == QLatin1String("AxisFitter")) {
            delete c;
            break;
        }
    chart->removeAllSeries();
    for (QAbstractAxis* a : chart->axes()) {
        chart->removeAxis(a);
        delete a;
    }
    QStringList titleLines = d.titleLines.isEmpty() ? QStringList{d.title} : d.titleLines;
    for (QString& t : titleLines) t = t.toHtmlEscaped();
    chart->setTitle(titleLines.join(QStringLiteral("<br>")));
    chart->legend()->setVisible(!o.ownLegend && (o.legend || d.legendVisible));
    chart->setLocalizeNumbers(true); // the user's decimal separator on the axes
    // rateChart lists a dozen model series and every cause: a column at the side keeps the
    // texts whole where a row at the bottom would cut them.
    chart->legend()->setAlignment(o.legendAlignment);

    // Hours along the bottom: linear, or logarithmic with the failures beside them.
    QAbstractAxis* bottom = nullptr;
    QAbstractAxis* left = nullptr;
    if (d.logAxes) {
        bottom = makeLogAxis(d.bottomAxis);
        left = makeLogAxis(d.leftAxis);
    } else {
        bottom = new QValueAxis;
        bottom->setTitleText(d.bottomAxis);
        left = new QValueAxis;
        left->setTitleText(d.leftAxis);
    }
    chart->addAxis(bottom, Qt::AlignBottom);
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

    // Bar series with something to draw share each interval's width.
    const auto drawnBar = [](const SeriesData& s) {
        return s.kind == SeriesKind::Bar && !s.points.empty() && !s.barFrom.empty();
    };
    const int lanes = static_cast<int>(std::count_if(d.series.cbegin(), d.series.cend(), drawnBar));
    int lane = 0;
    std::vector<ValueMarks*> marks;
    for (const auto& s : d.series) {
        bool known = false;
        const QColor color = seriesColor(s, &known);
        // Fixed bar series are always empty and inactive: nothing to draw.
        if (s.kind == SeriesKind::Bar && !drawnBar(s) && s.causeIndex < 0) continue;

        QAbstractSeries* series = nullptr;
        QXYSeries* xy = nullptr;
        if (s.kind == SeriesKind::Bar) {
            QAreaSeries* area = barArea(s, lane, std::max(1, lanes));
            if (drawnBar(s)) ++lane;
            area->setColor(color);
            area->setBorderColor(color.alpha() == 255 ? color.darker(140) : color);
            area->setProperty(kCause, s.causeIndex);
            for (std::size_t i = 0; i < s.barFrom.size(); ++i) bottomR.add(s.barFrom[i]);
            series = area;
        } else if (s.kind == SeriesKind::Band) {
            auto* upper = new QLineSeries;
            auto* lower = new QLineSeries;
            for (const auto& p : s.points) upper->append(p.x, p.y);
            for (const auto& p : s.lower) lower->append(p.x, p.y);
            auto* area = new QAreaSeries(upper, lower);
            upper->setParent(area);
            lower->setParent(area);
            area->setColor(color);
            area->setBorderColor(color);
            for (const auto& p : s.lower) leftR.add(p.y);
            series = area;
        } else if (s.kind == SeriesKind::Area || s.kind == SeriesKind::GradientArea) {
            auto* upper = new QLineSeries;
            for (const auto& p : thinForDrawing(s.points)) upper->append(p.x, p.y);
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
                QColor border = color.darker(120);
                border.setAlpha(255);
                area->setBorderColor(border);
            }
            series = area;
        } else {
            xy = makeXY(s);
            QList<QPointF> drawn;
            for (const auto& p : thinForDrawing(s.points)) drawn.append(QPointF(p.x, p.y));
            xy->replace(drawn);
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
        series->setObjectName(seriesObjectName(s.id));
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
        QAbstractAxis* vertical = s.axis == Axis::Left ? left : right;
        series->attachAxis(vertical);
        Range& vr = s.axis == Axis::Left ? leftR : rightR;
        for (const auto& p : s.points) {
            vr.add(p.y);
            (topRight ? topR : bottomR).add(p.x);
        }
        if (s.kind == SeriesKind::Area || s.kind == SeriesKind::GradientArea ||
            s.kind == SeriesKind::Bar)
            vr.add(0);
        series->setVisible(s.active);
        if (s.valueLabels && !s.valueTexts.empty())
            marks.push_back(new ValueMarks(chart, series, s.points, s.valueTexts));
        // Every series drawn has its entry; one with nothing to draw has none.
        const bool listed = s.active && s.inLegend && !s.title.isEmpty() && !s.points.empty();
        for (auto* m : chart->legend()->markers(series)) {
            m->setVisible(listed);
            m->setProperty(kListed, listed); // visibility reads false while the legend hides
        }
    }

    if (auto* l = qobject_cast<QLogValueAxis*>(left))
        applyLogRange(l, leftR);
    else
        applyRange(static_cast<QValueAxis*>(left), leftR, o.leftMin);
    if (right) {
        if (o.rightRange)
            right->setRange(o.rightRange->first, o.rightRange->second);
        else if (d.rightAxisFixed)
            right->setRange(d.rightMin, d.rightMax);
        else
            applyRange(right, rightR);
    }
    if (top) applyRange(top, topR);
    if (auto* l = qobject_cast<QLogValueAxis*>(bottom))
        applyLogRange(l, bottomR);
    else
        applyRange(static_cast<QValueAxis*>(bottom), bottomR, 0.0); // hours from 0
    auto* fitter = new AxisFitter(chart);
    fitter->fit();
    for (ValueMarks* m : marks) m->place();
}

std::vector<LegendEntry> legendEntries(QChart* chart) {
    std::vector<LegendEntry> out;
    for (QLegendMarker* m : chart->legend()->markers()) {
        if (!m->property(kListed).toBool() || m->label().isEmpty()) continue;
        LegendEntry e;
        e.text = m->label();
        e.pen = m->pen();
        if (auto* xy = qobject_cast<QXYSeries*>(m->series())) e.pen = xy->pen();
        if (auto* area = qobject_cast<QAreaSeries*>(m->series())) {
            e.fill = area->brush();
            e.pen = area->pen();
            e.filled = true;
        }
        out.push_back(e);
    }
    return out;
}

void paintLegendIcon(QPainter& p, const QRectF& box, const LegendEntry& e) {
    if (e.filled) {
        QBrush brush = e.fill;
        // A gradient set in the area's own box would leave the icon blank.
        if (brush.gradient()) brush = QBrush(brush.gradient()->stops().value(0).second);
        p.fillRect(box.adjusted(2, 2, -2, -2), brush);
        QPen pen = e.pen;
        pen.setWidthF(1);
        p.setPen(pen);
        p.drawRect(box.adjusted(2, 2, -2, -2));
        return;
    }
    QPen pen = e.pen;
    pen.setWidthF(3 * box.height() / 16);
    p.setPen(pen);
    p.drawLine(QPointF(box.left() + 2, box.center().y()),
               QPointF(box.right() - 2, box.center().y()));
}

void fillLegendList(QListWidget* list, QChart* chart) {
    list->clear();
    const int side = list->fontMetrics().height();
    for (const LegendEntry& e : legendEntries(chart)) {
        QPixmap icon(2 * side, side);
        icon.fill(Qt::transparent);
        QPainter p(&icon);
        paintLegendIcon(p, QRectF(icon.rect()), e);
        p.end();
        list->addItem(new QListWidgetItem(QIcon(icon), e.text));
    }
    list->setIconSize(QSize(2 * side, side));
}

std::vector<ChartPoint> thinForDrawing(const std::vector<ChartPoint>& points, int buckets) {
    const std::size_t n = points.size();
    if (buckets < 1 || n <= static_cast<std::size_t>(4 * buckets)) return points;
    for (std::size_t i = 1; i < n; ++i)
        if (!(points[i].x >= points[i - 1].x)) return points;
    const double x0 = points.front().x;
    const double span = points.back().x - x0;
    if (!(span > 0) || !std::isfinite(span)) return points;
    std::vector<ChartPoint> out;
    out.reserve(static_cast<std::size_t>(4 * buckets) + 4);
    std::size_t i = 0;
    while (i < n) {
        const int b = std::min(buckets - 1, int((points[i].x - x0) / span * buckets));
        std::size_t end = i, lo = i, hi = i;
        while (end < n && std::min(buckets - 1, int((points[end].x - x0) / span * buckets)) == b) {
            if (points[end].y < points[lo].y) lo = end;
            if (points[end].y > points[hi].y) hi = end;
            ++end;
        }
        std::size_t keep[4] = {i, std::min(lo, hi), std::max(lo, hi), end - 1};
        for (int k = 0; k < 4; ++k)
            if (k == 0 || keep[k] != keep[k - 1]) out.push_back(points[keep[k]]);
        i = end;
    }
    return out;
}

QAbstractSeries* findSeries(QChart* chart, ChartSeries id) {
    const QString name = seriesObjectName(id);
    for (QAbstractSeries* s : chart->series())
        if (s->objectName() == name) return s;
    return nullptr;
}

QList<QAreaSeries*> causeBars(QChart* chart) {
    QList<QAreaSeries*> out;
    for (QAbstractSeries* s : chart->series())
        if (auto* a = qobject_cast<QAreaSeries*>(s); a && a->property(kCause).isValid()) out << a;
    return out;
}

} // namespace wf::ui
