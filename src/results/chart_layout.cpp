#include "results/chart_layout.h"

#include "format/messages.h"

#include <algorithm>
#include <array>
#include <utility>

namespace wf {

namespace {

SeriesData fixedSeries(ChartSeries id, SeriesKind kind, Axis axis, const QString& title,
                       bool active = true) {
    return SeriesData{.id = id,
                      .title = title,
                      .kind = kind,
                      .axis = axis,
                      .active = active,
                      .inLegend = !title.isEmpty(),
                      .points = {},
                      .valueTexts = {}};
}

// The likelihood model's curves: a dark violet no other series uses.
constexpr std::uint32_t kMleColor = 0x7B1FA2;

SeriesData mleSeries(ChartSeries id, SeriesKind kind, const QString& title, bool active) {
    SeriesData d = fixedSeries(id, kind, Axis::Left, title, active);
    d.rgb = kMleColor;
    d.hasColor = true;
    return d;
}

// A chart with its caption and the titles of its left and right axes.
ChartData titledChart(const QString& title, const QString& leftAxis, const QString& rightAxis) {
    ChartData c;
    c.title = title;
    c.leftAxis = leftAxis;
    c.rightAxis = rightAxis;
    return c;
}

constexpr std::array<std::uint32_t, 42> kCvetPrich = {
    0x000000, 0xFFFFFF, 0xFF0000, 0xFFD700, 0xFF00FF, 0xFFFF00, 0x808000, 0x6495ED, 0xF0E68C,
    0x20B2AA, 0xFF69B4, 0xAFEEEE, 0xFFE4E1, 0x00FF00, 0x0000FF, 0xC71585, 0x00FFFF, 0xC0DCC0,
    0xFFA500, 0x008000, 0x800000, 0x808080, 0xFAFAD2, 0x008000, 0xFFFF00, 0xFF00FF, 0x800080,
    0xC0DCC0, 0xFFA500, 0x008000, 0x800000, 0x808080, 0xFAFAD2, 0x008000, 0xFFFF00, 0xFF00FF,
    0x800080, 0xAFEEEE, 0x00FFFF, 0xC0DCC0, 0xFFA500, 0xFFFF00};

} // namespace

std::uint32_t causeColor(int j) {
    constexpr int n = static_cast<int>(kCvetPrich.size());
    if (j < 0) j = 0;
    // Entries 0 and 1 are kept for "Брак" and "Другие"; the named causes cycle through
    // the rest so a high index never takes their black or white.
    if (j >= n) j = 2 + (j - 2) % (n - 2);
    return kCvetPrich[static_cast<std::size_t>(j)];
}

ChartData makeChart1(const AnalysisState& s) {
    using K = SeriesKind;
    using C = ChartSeries;
    ChartData c =
        titledChart(QStringLiteral("Изменение потока отказов в течение гарантийного периода"),
                    QStringLiteral("Отказов за 100 час на 1 изделие"),
                    QStringLiteral("Накопление отказов, уход из наблюдения (гарантии), %"));
    c.legendVisible = true;
    c.series = {
        fixedSeries(C::SmirnovRateCensored, K::Curve, Axis::Left,
                    QStringLiteral("Модель по Смирнову"), s.ModSmirnov.Executed),
        fixedSeries(C::ObservedPercent, K::DashedLine, Axis::Right,
                    QStringLiteral("Фактич. накопление, % от парка")),
        fixedSeries(C::SpiralRateCensored, K::Curve, Axis::Left, QString(), s.ModSpir.Executed),
        fixedSeries(C::SpiralRate, K::Curve, Axis::Left, QStringLiteral("Pirson/СС 1.1"),
                    s.ModSpir.Executed),
        fixedSeries(C::ExitShareOnRates, K::GradientArea, Axis::Right, QStringLiteral("Выбывание")),
        fixedSeries(C::NewtonRate, K::Curve, Axis::Left, QStringLiteral("Pirson/Newton 1.2"),
                    s.ModNewton.Executed),
        fixedSeries(C::NewtonRateCensored, K::Curve, Axis::Left,
                    QStringLiteral("Pirson/Newton 1.2 ценз."), s.ModNewton.Executed),
        fixedSeries(C::GeneticRateCensored, K::Curve, Axis::Left, QStringLiteral("Генетическая"),
                    s.ModGen.Executed),
        fixedSeries(C::GeneticRate, K::Curve, Axis::Left, QString(), s.ModGen.Executed),
        fixedSeries(C::SpareBarsOnRates, K::Bar, Axis::Left, QString(), false),
        fixedSeries(C::ExternalRateCensored, K::Curve, Axis::Left, QStringLiteral("Go Генетич."),
                    s.ModExt.Executed),
        mleSeries(C::MleRateCensored, K::Curve, msg::mleColumn, s.ModMLE.Executed),
    };
    c.series[1].valueLabels = true;
    return c;
}

ChartData makeChart2(const AnalysisState& s) {
    using K = SeriesKind;
    using C = ChartSeries;
    ChartData c = titledChart(QStringLiteral("Интегральные (накопленные) оценки потока отказов"),
                              QStringLiteral("Отказов на 1 изделие"),
                              QStringLiteral("Выбывание из гарантии, %"));
    c.rightAxisFixed = true;
    c.rightMin = 0;
    c.rightMax = 100;
    c.series = {
        fixedSeries(C::ObservedTotal, K::Area, Axis::Left, QString()),
        fixedSeries(C::ExitShareOnTotals, K::Area, Axis::Right, QString()),
        fixedSeries(C::SpiralTotal, K::Curve, Axis::Left, QString()),
        fixedSeries(C::SpiralTotalCensored, K::Line, Axis::Left, QString()),
        fixedSeries(C::SmirnovTotalCensored, K::Line, Axis::Left, QString()),
        fixedSeries(C::GeneticTotal, K::Line, Axis::Left, QString()),
        fixedSeries(C::GeneticTotalCensored, K::Line, Axis::Left, QString()),
        fixedSeries(C::SpareBarsOnTotals, K::Bar, Axis::Left, QString(), false),
        fixedSeries(C::NewtonTotal, K::Line, Axis::Left, QString()),
        fixedSeries(C::NewtonTotalCensored, K::Line, Axis::Left, QString()),
        mleSeries(C::MleTotalCensored, K::Line, QString(), s.ModMLE.Executed),
    };
    return c;
}

ChartData makeChart3() {
    using K = SeriesKind;
    ChartData c;
    c.titleLines = {
        QStringLiteral("Отказы - факт и с коррекцией по выбыванию из гарантии, Ln количества"),
        QStringLiteral("Если поток снижается, параметры гарантийного срока завышены ")};
    c.title = c.titleLines.join(QLatin1Char('\n'));
    c.bottomAxis = QStringLiteral("Время наработки, час");
    c.leftAxis = QStringLiteral("Отказов за 100 час. на изделие");
    c.topAxis = QStringLiteral("Ln времени наработки");
    c.rightAxis = QStringLiteral("Ln числа отказов");
    c.series = {
        fixedSeries(ChartSeries::SpareLineOnLnLn, K::Line, Axis::Left, QString(), false),
        fixedSeries(ChartSeries::LnLnFailures, K::LineWithCrosses, Axis::TopRight, QString()),
        fixedSeries(ChartSeries::LnLnLine, K::Line, Axis::TopRight, QString()),
    };
    return c;
}

void addCauseSeries(ChartData& chart, int j, int transparency, const QString& title) {
    SeriesData d;
    d.title = title;
    d.kind = SeriesKind::Bar;
    d.axis = Axis::Left;
    d.inLegend = chart.legendVisible;
    d.causeIndex = j;
    d.transparency = transparency;
    d.rgb = causeColor(j);
    d.hasColor = true;
    chart.series.push_back(std::move(d));
}

const SeriesData* findSeries(const ChartData& chart, ChartSeries id) {
    for (const SeriesData& d : chart.series)
        if (d.id == id) return &d;
    return nullptr;
}

SeriesData* findSeries(ChartData& chart, ChartSeries id) {
    return const_cast<SeriesData*>(findSeries(std::as_const(chart), id));
}

int lastChartedCause(const AnalysisState& s) {
    const int listed = static_cast<int>(s.Vidy_Otk_Sort.size()) - 1;
    return std::min({s.Kol_Prich, listed, kSumNprSize - 1});
}

} // namespace wf
