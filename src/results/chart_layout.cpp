#include "results/chart_layout.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/mle_band.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

namespace wf {

namespace {

SeriesData fixedSeries(ChartSeries id, SeriesKind kind, Axis axis, const QString& title,
                       std::uint32_t rgb, bool active = true) {
    return SeriesData{.id = id,
                      .title = title,
                      .kind = kind,
                      .axis = axis,
                      .active = active,
                      .inLegend = !title.isEmpty(),
                      .rgb = rgb,
                      .hasColor = true,
                      .points = {},
                      .valueTexts = {},
                      .barFrom = {},
                      .lower = {}};
}

// One colour per model in every chart, none of them a cause colour: a model's curve
// without warranty exits is dark, its censored curve a light shade of the same hue.
namespace colour {
constexpr std::uint32_t spiral = 0x1565C0, spiralCensored = 0x64B5F6;
constexpr std::uint32_t newton = 0x2E7D32, newtonCensored = 0x81C784;
constexpr std::uint32_t genetic = 0xBCAAA4, geneticCensored = 0x6D4C41;
constexpr std::uint32_t smirnov = 0xD84315, external = 0x00838F, mle = 0x7B1FA2;
constexpr std::uint32_t mleUncensored = 0x4A148C, mleBand = 0xCE93D8;
constexpr std::uint32_t observed = 0x37474F, observedArea = 0x90A4AE;
constexpr std::uint32_t exitShare = 0x8080C0, exitShareArea = 0xC5CAE9;
} // namespace colour

// A chart with its caption and the titles of its left and right axes.
ChartData titledChart(const QString& title, const QString& leftAxis, const QString& rightAxis) {
    ChartData c;
    c.title = title;
    c.leftAxis = leftAxis;
    c.rightAxis = rightAxis;
    c.bottomAxis = QStringLiteral("Время наработки, час");
    c.legendVisible = true;
    return c;
}

// Legend texts of the curves the first layout left unnamed.
const QString kSpiralCensored = QStringLiteral("Pirson/СС 1.1 ценз.");
const QString kGeneticUncensored = QStringLiteral("Генетическая без ценз.");

std::uint32_t channelsTimes(std::uint32_t rgb, double f, double towards) {
    std::uint32_t out = 0;
    for (int shift : {16, 8, 0}) {
        const double c = (rgb >> shift) & 0xFF;
        const double v = std::clamp(c + (towards - c) * f, 0.0, 255.0);
        out |= static_cast<std::uint32_t>(std::lround(v)) << shift;
    }
    return out;
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

SeriesData mleUncensoredSeries(ChartSeries id, bool active) {
    return fixedSeries(id, SeriesKind::Line, Axis::Left, msg::mleUncensored, colour::mleUncensored,
                       active);
}

SeriesData mleBandSeries(ChartSeries id, const LikelihoodDetail& d, bool active) {
    SeriesData b =
        fixedSeries(id, SeriesKind::Band, Axis::Left,
                    msg::mleBand(fmt::general(100 * bandLevel(d))), colour::mleBand, active);
    b.transparency = 55; // the curves inside it stay visible
    return b;
}

ChartData makeChart1(const AnalysisState& s) {
    using K = SeriesKind;
    using C = ChartSeries;
    namespace c = colour;
    ChartData d =
        titledChart(QStringLiteral("Изменение потока отказов в течение гарантийного периода"),
                    QStringLiteral("Отказов за 100 час на 1 изделие"),
                    QStringLiteral("Накопление отказов, уход из наблюдения (гарантии), %"));
    d.series = {
        fixedSeries(C::SmirnovRateCensored, K::Curve, Axis::Left,
                    QStringLiteral("Модель по Смирнову"), c::smirnov, s.ModSmirnov.Executed),
        fixedSeries(C::ObservedPercent, K::DashedLine, Axis::Right,
                    QStringLiteral("Фактич. накопление, % от парка"), c::observed),
        fixedSeries(C::SpiralRateCensored, K::Curve, Axis::Left, kSpiralCensored, c::spiralCensored,
                    s.ModSpir.Executed),
        fixedSeries(C::SpiralRate, K::Curve, Axis::Left, QStringLiteral("Pirson/СС 1.1"), c::spiral,
                    s.ModSpir.Executed),
        fixedSeries(C::ExitShareOnRates, K::GradientArea, Axis::Right, QStringLiteral("Выбывание"),
                    c::exitShare),
        fixedSeries(C::NewtonRate, K::Curve, Axis::Left, QStringLiteral("Pirson/Newton 1.2"),
                    c::newton, s.ModNewton.Executed),
        fixedSeries(C::NewtonRateCensored, K::Curve, Axis::Left,
                    QStringLiteral("Pirson/Newton 1.2 ценз."), c::newtonCensored,
                    s.ModNewton.Executed),
        fixedSeries(C::GeneticRateCensored, K::Curve, Axis::Left, QStringLiteral("Генетическая"),
                    c::geneticCensored, s.ModGen.Executed),
        fixedSeries(C::GeneticRate, K::Curve, Axis::Left, kGeneticUncensored, c::genetic,
                    s.ModGen.Executed),
        fixedSeries(C::SpareBarsOnRates, K::Bar, Axis::Left, QString(), 0, false),
        fixedSeries(C::ExternalRateCensored, K::Curve, Axis::Left, QStringLiteral("Go Генетич."),
                    c::external, s.ModExt.Executed),
        fixedSeries(C::MleRateCensored, K::Curve, Axis::Left, msg::mleColumn, c::mle,
                    s.ModMLE.Executed),
    };
    d.series[1].valueLabels = true;
    return d;
}

ChartData makeChart2(const AnalysisState& s) {
    using K = SeriesKind;
    using C = ChartSeries;
    namespace c = colour;
    ChartData d = titledChart(QStringLiteral("Интегральные (накопленные) оценки потока отказов"),
                              QStringLiteral("Отказов на 1 изделие"),
                              QStringLiteral("Выбывание из гарантии, %"));
    d.rightAxisFixed = true;
    d.rightMin = 0;
    d.rightMax = 100;
    d.series = {
        fixedSeries(C::ObservedTotal, K::Area, Axis::Left,
                    QStringLiteral("Фактич. накопление на 1 изделие"), c::observedArea),
        fixedSeries(C::ExitShareOnTotals, K::Area, Axis::Right, QStringLiteral("Выбывание, %"),
                    c::exitShareArea),
        fixedSeries(C::SpiralTotal, K::Curve, Axis::Left, QStringLiteral("Pirson/СС 1.1"),
                    c::spiral),
        fixedSeries(C::SpiralTotalCensored, K::Line, Axis::Left, kSpiralCensored,
                    c::spiralCensored),
        fixedSeries(C::SmirnovTotalCensored, K::Line, Axis::Left,
                    QStringLiteral("Модель по Смирнову"), c::smirnov),
        fixedSeries(C::GeneticTotal, K::Line, Axis::Left, kGeneticUncensored, c::genetic),
        fixedSeries(C::GeneticTotalCensored, K::Line, Axis::Left, QStringLiteral("Генетическая"),
                    c::geneticCensored),
        fixedSeries(C::SpareBarsOnTotals, K::Bar, Axis::Left, QString(), 0, false),
        fixedSeries(C::NewtonTotal, K::Line, Axis::Left, QStringLiteral("Pirson/Newton 1.2"),
                    c::newton),
        fixedSeries(C::NewtonTotalCensored, K::Line, Axis::Left,
                    QStringLiteral("Pirson/Newton 1.2 ценз."), c::newtonCensored),
        fixedSeries(C::MleTotalCensored, K::Line, Axis::Left, msg::mleColumn, c::mle,
                    s.ModMLE.Executed),
        mleUncensoredSeries(C::MleTotal, s.ModMLE.Executed),
        mleBandSeries(C::MleBand, s.ModMLE_Detail, s.ModMLE.Executed),
    };
    // The areas stand behind the curves: half transparent, so the bars show through.
    d.series[0].transparency = 40;
    d.series[1].transparency = 50;
    return d;
}

ChartData makeChart3() {
    using K = SeriesKind;
    ChartData d;
    d.titleLines = {
        QStringLiteral("Отказы - факт и с коррекцией по выбыванию из гарантии, Ln количества"),
        QStringLiteral("Если поток снижается, параметры гарантийного срока завышены ")};
    d.title = d.titleLines.join(QLatin1Char('\n'));
    d.bottomAxis = QStringLiteral("Время наработки, час");
    d.leftAxis = QStringLiteral("Отказов за 100 час. на изделие");
    d.topAxis = QStringLiteral("Ln времени наработки");
    d.rightAxis = QStringLiteral("Ln числа отказов");
    d.legendVisible = true;
    d.series = {
        fixedSeries(ChartSeries::SpareLineOnLnLn, K::Line, Axis::Left, QString(), 0, false),
        fixedSeries(ChartSeries::LnLnFailures, K::LineWithCrosses, Axis::TopRight,
                    QStringLiteral("Ln накопленных отказов"), kLnLnGreen),
        fixedSeries(ChartSeries::LnLnLine, K::Line, Axis::TopRight,
                    QStringLiteral("Линия наименьших квадратов"), kLnLnRed),
    };
    return d;
}

ChartData accumulationChart(const std::vector<ChartPoint>& lnPoints,
                            const std::vector<ChartPoint>& lnLine, const SeriesData* mleCurve,
                            const SeriesData* mleBand) {
    ChartData d;
    d.title = QStringLiteral("Накопленние отказов по времени наблюдения");
    d.bottomAxis = QStringLiteral("Log t (часов)");
    d.leftAxis = QStringLiteral("Log N (отказов)");
    d.logAxes = true;
    // Back from logarithms to hours and failures: the log axes show those values.
    const auto unLn = [](std::vector<ChartPoint> points) {
        for (ChartPoint& p : points) {
            p.x = std::exp(p.x);
            p.y = std::exp(p.y);
            p.label.clear();
        }
        return points;
    };
    SeriesData failures;
    failures.id = ChartSeries::AccumulationPoints;
    failures.kind = SeriesKind::LineWithCircles;
    failures.rgb = kLnLnGreen;
    failures.hasColor = true;
    failures.points = unLn(lnPoints);
    SeriesData line;
    line.id = ChartSeries::AccumulationLine;
    line.kind = SeriesKind::Line;
    line.inLegend = false;
    line.rgb = kLnLnRed;
    line.hasColor = true;
    line.points = unLn(lnLine);
    d.series = {std::move(failures), std::move(line)};
    // With model 3 beside them, every series needs its legend entry.
    if (mleCurve && !mleCurve->points.empty()) {
        d.legendVisible = true;
        d.series[0].title = msg::accumulatedFailures;
        d.series[1].title = msg::leastSquaresLine;
        d.series[1].inLegend = true;
        if (mleBand && !mleBand->points.empty()) d.series.insert(d.series.begin(), *mleBand);
        d.series.push_back(*mleCurve);
    }
    return d;
}

void addCauseSeries(ChartData& chart, int j, std::uint32_t rgb, int transparency,
                    const QString& title) {
    SeriesData d;
    d.title = title;
    d.kind = SeriesKind::Bar;
    d.axis = Axis::Left;
    d.inLegend = chart.legendVisible;
    d.causeIndex = j;
    d.transparency = transparency;
    d.rgb = rgb;
    d.hasColor = true;
    chart.series.push_back(std::move(d));
}

std::uint32_t freeShade(std::uint32_t rgb, const std::vector<std::uint32_t>& used) {
    const auto free = [&used](std::uint32_t c) {
        return std::find(used.cbegin(), used.cend(), c) == used.cend();
    };
    if (free(rgb)) return rgb;
    for (int k = 1; k <= 3; ++k)
        if (const std::uint32_t c = channelsTimes(rgb, 0.25 * k, 0); free(c)) return c;
    for (int k = 1; k <= 20; ++k)
        if (const std::uint32_t c = channelsTimes(rgb, 0.04 * k, 255); free(c)) return c;
    return rgb;
}

std::vector<std::uint32_t> seriesColors(const ChartData& chart) {
    std::vector<std::uint32_t> out;
    for (const SeriesData& d : chart.series)
        // The spare bar series are never drawn: their colour is nobody's.
        if (d.hasColor && !(d.kind == SeriesKind::Bar && d.causeIndex < 0)) out.push_back(d.rgb);
    return out;
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
