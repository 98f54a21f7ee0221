#include "results/chart_layout.h"

#include "format/messages.h"

#include <algorithm>
#include <array>

namespace wf {

namespace {

SeriesData fixedSeries(const char* name, SeriesKind kind, Axis axis, const QString& title,
                       bool active = true) {
    SeriesData d;
    d.name = QString::fromLatin1(name);
    d.title = title;
    d.kind = kind;
    d.axis = axis;
    d.active = active;
    d.inLegend = !title.isEmpty();
    return d;
}

// The likelihood model's curves: a dark violet no other series uses.
constexpr std::uint32_t kMleColor = 0x7B1FA2;

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
    ChartData c;
    c.title = QStringLiteral("Изменение потока отказов в течение гарантийного периода");
    c.leftAxis = QStringLiteral("Отказов за 100 час на 1 изделие");
    c.rightAxis = QStringLiteral("Накопление отказов, уход из наблюдения (гарантии), %");
    c.legendVisible = true;
    c.series = {
        fixedSeries("Series4", K::Curve, Axis::Left, QStringLiteral("Модель по Смирнову"),
                    s.ModSmirnov.Executed),
        fixedSeries("Series17", K::DashedLine, Axis::Right,
                    QStringLiteral("Фактич. накопление, % от парка")),
        fixedSeries("Series3", K::Curve, Axis::Left, QString(), s.ModSpir.Executed),
        fixedSeries("Series2", K::Curve, Axis::Left, QStringLiteral("Pirson/СС 1.1"),
                    s.ModSpir.Executed),
        fixedSeries("Series1", K::GradientArea, Axis::Right, QStringLiteral("Выбывание")),
        fixedSeries("Series20", K::Curve, Axis::Left, QStringLiteral("Pirson/Newton 1.2"),
                    s.ModNewton.Executed),
        fixedSeries("Series21", K::Curve, Axis::Left, QStringLiteral("Pirson/Newton 1.2 ценз."),
                    s.ModNewton.Executed),
        fixedSeries("Series6", K::Curve, Axis::Left, QStringLiteral("Генетическая"),
                    s.ModGen.Executed),
        fixedSeries("Series5", K::Curve, Axis::Left, QString(), s.ModGen.Executed),
        fixedSeries("Series14", K::Bar, Axis::Left, QString(), false),
        fixedSeries("Series24", K::Curve, Axis::Left, QStringLiteral("Go Генетич."),
                    s.ModExt.Executed),
        fixedSeries("Series25", K::Curve, Axis::Left, msg::mleColumn, s.ModMLE.Executed),
    };
    c.series[1].valueLabels = true;
    c.series.back().rgb = kMleColor;
    c.series.back().hasColor = true;
    return c;
}

ChartData makeChart2(const AnalysisState& s) {
    using K = SeriesKind;
    ChartData c;
    c.title = QStringLiteral("Интегральные (накопленные) оценки потока отказов");
    c.leftAxis = QStringLiteral("Отказов на 1 изделие");
    c.rightAxis = QStringLiteral("Выбывание из гарантии, %");
    c.rightAxisFixed = true;
    c.rightMin = 0;
    c.rightMax = 100;
    c.series = {
        fixedSeries("Series15", K::Area, Axis::Left, QString()),
        fixedSeries("Series7", K::Area, Axis::Right, QString()),
        fixedSeries("Series8", K::Curve, Axis::Left, QString()),
        fixedSeries("Series9", K::Line, Axis::Left, QString()),
        fixedSeries("Series10", K::Line, Axis::Left, QString()),
        fixedSeries("Series11", K::Line, Axis::Left, QString()),
        fixedSeries("Series12", K::Line, Axis::Left, QString()),
        fixedSeries("Series16", K::Bar, Axis::Left, QString(), false),
        fixedSeries("Series22", K::Line, Axis::Left, QString()),
        fixedSeries("Series23", K::Line, Axis::Left, QString()),
        fixedSeries("Series26", K::Line, Axis::Left, QString(), s.ModMLE.Executed),
    };
    c.series.back().rgb = kMleColor;
    c.series.back().hasColor = true;
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
        fixedSeries("Series13", K::Line, Axis::Left, QString(), false),
        fixedSeries("Series18", K::LineWithCrosses, Axis::TopRight, QString()),
        fixedSeries("Series19", K::Line, Axis::TopRight, QString()),
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

SeriesData* findSeries(ChartData& chart, const QString& name) {
    for (SeriesData& d : chart.series)
        if (d.name == name) return &d;
    return nullptr;
}

int lastChartedCause(const AnalysisState& s) {
    const int listed = static_cast<int>(s.Vidy_Otk_Sort.size()) - 1;
    return std::min({s.Kol_Prich, listed, kSumNprSize - 1});
}

} // namespace wf
