// Drawing chart data: fixed and per-cause series, activity, legend entries, value marks,
// axes; a second drawing replaces the first instead of adding to it.

#include "ui/chart_builder.h"

#include <QAbstractSeries>
#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QChartView>
#include <QGraphicsSimpleTextItem>
#include <QLegend>
#include <QLegendMarker>
#include <QLineSeries>
#include <QListWidget>
#include <QLogValueAxis>
#include <QPointer>
#include <QTest>
#include <QValueAxis>
#include <QXYSeries>

#include <algorithm>
#include <cmath>

using namespace wf;
using namespace wf::ui;

namespace {

SeriesData series(ChartSeries id, SeriesKind kind, Axis axis, const char* title = "") {
    SeriesData s;
    s.id = id;
    s.title = QString::fromUtf8(title);
    s.kind = kind;
    s.axis = axis;
    // Intervals 0-100, 100-200 and 200-300 h.
    for (int i = 0; i < 3; ++i) {
        s.points.push_back({100.0 * (i + 1), 1.0 + i, QString::number(100 * (i + 1)), 0, false});
        if (kind == SeriesKind::Bar) s.barFrom.push_back(100.0 * i);
    }
    return s;
}

ChartData sample() {
    ChartData d;
    d.title = QStringLiteral("Изменение потока отказов");
    d.leftAxis = QStringLiteral("left");
    d.rightAxis = QStringLiteral("right");
    d.legendVisible = true;
    d.rightAxisFixed = true;
    d.rightMin = 0;
    d.rightMax = 100;
    SeriesData s17 =
        series(ChartSeries::ObservedPercent, SeriesKind::DashedLine, Axis::Right, "Фактич.");
    s17.valueLabels = true;
    s17.valueTexts = {QStringLiteral("1 000"), QStringLiteral("2 000,5"), QStringLiteral("3")};
    SeriesData s5 = series(ChartSeries::GeneticRate, SeriesKind::Curve, Axis::Left);
    s5.active = false;
    SeriesData s2 = series(ChartSeries::SpiralRate, SeriesKind::Curve, Axis::Left, "Pirson/СС 1.1");
    SeriesData s14 = series(ChartSeries::SpareBarsOnRates, SeriesKind::Bar, Axis::Left);
    s14.points.clear();
    s14.active = false;
    SeriesData a = series(ChartSeries::Cause, SeriesKind::Bar, Axis::Left, "Генератор");
    a.causeIndex = 2;
    a.rgb = 0xFF0000;
    a.hasColor = true;
    SeriesData b = series(ChartSeries::Cause, SeriesKind::Bar, Axis::Left, "Стартер");
    b.causeIndex = 3;
    b.transparency = 60;
    b.rgb = 0x00FF00;
    b.hasColor = true;
    d.series = {s17, s5, s2, s14, a, b};
    return d;
}

int marksWithText(QChart* chart, const QString& text) {
    int n = 0;
    for (QGraphicsItem* item : chart->childItems())
        if (auto* t = dynamic_cast<QGraphicsSimpleTextItem*>(item); t && t->text() == text) ++n;
    return n;
}

// A chart of `n` intervals: a labelled line, value marks on it, one cause's bars.
ChartData intervals(int n) {
    ChartData d;
    d.title = QStringLiteral("Изменение потока отказов в течение гарантийного периода");
    d.leftAxis = QStringLiteral("Отказов за 100 час на 1 изделие");
    d.legendVisible = true;
    SeriesData line =
        series(ChartSeries::ObservedPercent, SeriesKind::DashedLine, Axis::Left, "Фактич.");
    line.points.clear();
    line.valueLabels = true;
    SeriesData bars = series(ChartSeries::Cause, SeriesKind::Bar, Axis::Left, "Генератор");
    bars.points.clear();
    bars.barFrom.clear();
    bars.causeIndex = 2;
    for (int i = 0; i < n; ++i) {
        const double t = 100.0 * (i + 1);
        line.points.push_back({t, 100.0 + i, QString::number(t), 0, false});
        line.valueTexts.push_back(QString::number(100.0 + i, 'f', 1));
        if (i != 1) {
            bars.points.push_back({t, 1.0 + i, QString::number(t), 0, false});
            bars.barFrom.push_back(t - 100);
        }
    }
    d.series = {line, bars};
    return d;
}

QList<QRectF> shownMarks(QChart* chart) {
    QList<QRectF> out;
    for (QGraphicsItem* item : chart->childItems())
        if (auto* t = dynamic_cast<QGraphicsSimpleTextItem*>(item); t && t->isVisible())
            out << t->sceneBoundingRect();
    return out;
}

} // namespace

class ChartBuilderTest : public QObject {
    Q_OBJECT
private slots:
    void drawsSeriesAsDescribed();
    void secondDrawingReplacesTheFirst();
    void areaLineIsFreedWithItsArea();
    void labelsTitlesAndMarksFitTheChartSize();
    void barsStandAtTheirInterval();
    void causesStandSideBySideAndLogAxesShowDecades();
    void legendListShowsEveryEntry();
    void longLinesAreThinnedKeepingTheirShape();
};

void ChartBuilderTest::drawsSeriesAsDescribed() {
    auto* chart = new QChart;
    QChartView view(chart);
    view.resize(800, 600);
    view.show();
    fillChart(chart, sample(), ChartOptions{});
    QVERIFY(chart->legend()->isVisible());
    QVERIFY(!findSeries(chart, ChartSeries::GeneticRate)->isVisible());
    QVERIFY(findSeries(chart, ChartSeries::SpiralRate)->isVisible());
    // Inactive series have no legend entry.
    const auto markers5 = chart->legend()->markers(findSeries(chart, ChartSeries::GeneticRate));
    QVERIFY(!markers5.isEmpty() && !markers5.first()->isVisible());
    // The empty fixed bar series is not drawn; each cause is a series of its own.
    const QList<QAreaSeries*> bars = causeBars(chart);
    QCOMPARE(bars.size(), 2);
    QCOMPARE(bars[0]->name(), QStringLiteral("Генератор"));
    QCOMPARE(bars[0]->color(), QColor(255, 0, 0));
    QCOMPARE(bars[1]->color().alpha(), 255 * 40 / 100);
    // Every axis shows its values; time runs linearly in hours from 0.
    for (QAbstractAxis* a : chart->axes()) {
        QVERIFY(a->labelsVisible());
        QVERIFY(a->labelsColor().alpha() > 0);
    }
    auto* hours = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
    QVERIFY(hours);
    QCOMPARE(hours->min(), 0.0);
    QVERIFY(hours->max() >= 300);
    // Value marks carry the given texts.
    QCOMPARE(marksWithText(chart, QStringLiteral("2 000,5")), 1);
    // The right axis keeps its fixed range.
    const auto rightAxes =
        chart->axes(Qt::Vertical, findSeries(chart, ChartSeries::ObservedPercent));
    QVERIFY(!rightAxes.isEmpty());
    auto* right = qobject_cast<QValueAxis*>(rightAxes.first());
    QVERIFY(right);
    QCOMPARE(right->min(), 0.0);
    QCOMPARE(right->max(), 100.0);
}

void ChartBuilderTest::secondDrawingReplacesTheFirst() {
    auto* chart = new QChart;
    QChartView view(chart);
    fillChart(chart, sample(), ChartOptions{});
    const int seriesCount = static_cast<int>(chart->series().size());
    const int axisCount = static_cast<int>(chart->axes().size());
    fillChart(chart, sample(), ChartOptions{});
    QCOMPARE(static_cast<int>(chart->series().size()), seriesCount);
    QCOMPARE(static_cast<int>(chart->axes().size()), axisCount);
    QCOMPARE(causeBars(chart).size(), 2);
    QCOMPARE(marksWithText(chart, QStringLiteral("1 000")), 1);
}

// Once the line under an area series outlived every redrawing (LeakSanitizer found it).
void ChartBuilderTest::areaLineIsFreedWithItsArea() {
    auto* chart = new QChart;
    QChartView view(chart);
    ChartData d = sample();
    d.series.push_back(
        series(ChartSeries::GeneticRateCensored, SeriesKind::Area, Axis::Left, "Область"));
    fillChart(chart, d, ChartOptions{});
    QAreaSeries* area = nullptr;
    for (QAbstractSeries* s : chart->series())
        if (auto* a = qobject_cast<QAreaSeries*>(s)) area = a;
    QVERIFY(area);
    QPointer<QLineSeries> line = area->upperSeries();
    QVERIFY(line);
    fillChart(chart, d, ChartOptions{});
    QVERIFY(line.isNull());
}

void ChartBuilderTest::labelsTitlesAndMarksFitTheChartSize() {
    auto* chart = new QChart;
    QChartView view(chart);
    view.resize(420, 320);
    view.show();
    fillChart(chart, intervals(60), ChartOptions{});
    QApplication::processEvents();
    auto* bottom = qobject_cast<QValueAxis*>(chart->axes(Qt::Horizontal).first());
    QVERIFY(bottom);
    // Hour ticks at a round step (two labelled at least), fewer where the chart is narrow.
    const double narrow = bottom->tickInterval();
    QVERIFY(narrow > 0 && (bottom->max() - bottom->min()) / narrow >= 1);
    // The left title is longer than its axis: it wraps into whole lines.
    const QString left = chart->axes(Qt::Vertical).first()->titleText();
    QVERIFY(left.contains(QStringLiteral("<br>")));
    QCOMPARE(QString(left).replace(QStringLiteral("<br>"), QStringLiteral(" ")),
             QStringLiteral("Отказов за 100 час на 1 изделие"));
    QVERIFY(!chart->title().contains(QChar(0x2026)));
    // Shown value marks never overlap; some are left out for room.
    const QList<QRectF> marks = shownMarks(chart);
    QVERIFY(marks.size() >= 2 && marks.size() < 60);
    for (int i = 1; i < marks.size(); ++i) QVERIFY(!marks[i].intersects(marks[i - 1]));

    view.resize(1800, 900);
    QTRY_VERIFY_WITH_TIMEOUT(bottom->tickInterval() < narrow, 30000);

    // So flat a chart that a word of the left title is longer than its axis: the title gets
    // a smaller font and its words stay whole.
    QAbstractAxis* leftAxis = chart->axes(Qt::Vertical).first();
    const qreal normal = leftAxis->titleFont().pointSizeF();
    view.resize(900, 150);
    QTRY_VERIFY_WITH_TIMEOUT(leftAxis->titleFont().pointSizeF() < normal, 30000);
    const QFontMetrics fm(leftAxis->titleFont());
    const int room = std::max(40, int(chart->plotArea().height()) - 8);
    QVERIFY(fm.horizontalAdvance(QStringLiteral("изделие")) <= room ||
            leftAxis->titleFont().pointSizeF() <= 6);
}

// A point left out of a cause once moved its later bars one interval to the left. A bar
// spans its own interval's hours, whatever came before it.
void ChartBuilderTest::barsStandAtTheirInterval() {
    auto* chart = new QChart;
    QChartView view(chart);
    fillChart(chart, intervals(5), ChartOptions{});
    const QList<QAreaSeries*> bars = causeBars(chart);
    QCOMPARE(bars.size(), 1);
    const QList<QPointF> outline = bars.first()->upperSeries()->points();
    QCOMPARE(outline.size(), 4 * 4); // four corners for each of the four bars
    // The second bar drawn is the third interval's, 200-300 h, less a margin each side.
    QCOMPARE(outline[4], QPointF(205, 0));
    QCOMPARE(outline[5], QPointF(205, 3));
    QCOMPARE(outline[6], QPointF(295, 3));
    QCOMPARE(outline[7], QPointF(295, 0));
    // A curve point stands at its hour.
    auto* line = qobject_cast<QXYSeries*>(findSeries(chart, ChartSeries::ObservedPercent));
    QCOMPARE(line->at(2).x(), 300.0);
}

void ChartBuilderTest::causesStandSideBySideAndLogAxesShowDecades() {
    auto* chart = new QChart;
    QChartView view(chart);
    fillChart(chart, sample(), ChartOptions{});
    const QList<QAreaSeries*> bars = causeBars(chart);
    // Two causes share 0-100 h: the first takes 5-50 h, the second 50-95 h.
    QCOMPARE(bars[0]->upperSeries()->at(0).x(), 5.0);
    QCOMPARE(bars[0]->upperSeries()->at(2).x(), 50.0);
    QCOMPARE(bars[1]->upperSeries()->at(0).x(), 50.0);
    QCOMPARE(bars[1]->upperSeries()->at(2).x(), 95.0);

    ChartData d = accumulationChart({{std::log(30.0), std::log(2.0), QString(), 0x008000, true},
                                     {std::log(700.0), std::log(15.0), QString(), 0x008000, true}},
                                    {});
    fillChart(chart, d, ChartOptions{});
    auto* hours = qobject_cast<QLogValueAxis*>(chart->axes(Qt::Horizontal).first());
    auto* failures = qobject_cast<QLogValueAxis*>(chart->axes(Qt::Vertical).first());
    QVERIFY(hours && failures);
    QCOMPARE(hours->min(), 10.0);
    QCOMPARE(hours->max(), 1000.0);
    QCOMPARE(failures->min(), 1.0);
    QCOMPARE(failures->max(), 100.0);
    QVERIFY(hours->labelsVisible() && failures->labelsVisible());
    auto* points = qobject_cast<QXYSeries*>(findSeries(chart, ChartSeries::AccumulationPoints));
    QVERIFY(qAbs(points->at(1).x() - 700) < 1e-9);
    QVERIFY(qAbs(points->at(1).y() - 15) < 1e-9);
}

void ChartBuilderTest::legendListShowsEveryEntry() {
    auto* chart = new QChart;
    QChartView view(chart);
    ChartOptions o;
    o.ownLegend = true;
    ChartData d = sample();
    SeriesData empty = series(ChartSeries::NewtonRate, SeriesKind::Curve, Axis::Left, "Пусто");
    empty.points.clear();
    d.series.push_back(empty);
    fillChart(chart, d, o);
    QVERIFY(!chart->legend()->isVisible());
    QListWidget list;
    fillLegendList(&list, chart);
    // ObservedPercent, SpiralRate and the two causes; inactive, untitled and empty series
    // are not listed.
    QStringList texts;
    for (int i = 0; i < list.count(); ++i) texts << list.item(i)->text();
    QCOMPARE(texts, (QStringList{QStringLiteral("Фактич."), QStringLiteral("Pirson/СС 1.1"),
                                 QStringLiteral("Генератор"), QStringLiteral("Стартер")}));
}

void ChartBuilderTest::longLinesAreThinnedKeepingTheirShape() {
    std::vector<ChartPoint> points;
    for (int i = 0; i < 100000; ++i)
        points.push_back({std::log(1.0 + i), i == 50000 ? 1e6 : double(i), QString(), 0, false});
    const std::vector<ChartPoint> thin = thinForDrawing(points);
    QVERIFY(thin.size() <= 4000);
    QCOMPARE(thin.front().y, 0.0);
    QCOMPARE(thin.back().y, 99999.0);
    QVERIFY(
        std::any_of(thin.cbegin(), thin.cend(), [](const ChartPoint& p) { return p.y == 1e6; }));
    // Few points, or points out of x order, are drawn as they are.
    QCOMPARE(thinForDrawing(std::vector<ChartPoint>(points.begin(), points.begin() + 3000)).size(),
             std::size_t(3000));
    std::swap(points[10], points[20]);
    QCOMPARE(thinForDrawing(points).size(), points.size());
}

QTEST_MAIN(ChartBuilderTest)
#include "chart_builder_test.moc"
