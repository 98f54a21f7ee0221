#include "analysis/load_summary.h"

#include "core/distributions.h"
#include "format/number_format.h"

#include <cmath>

namespace wf {

namespace {

constexpr std::uint32_t kGreen = 0x008000;
constexpr std::uint32_t kRed = 0xFF0000;

struct Threshold {
    double p;
    const char16_t* label;
};

const Threshold kThresholds[] = {
    {0.1, u", отказов 10% от парка"},
    {0.2, u", отказов 20% от парка"},
    {0.5, u", отказов 50% от парка с учетом цензурирования"},
    {0.8, u", отказов 80% от парка"},
    {0.9, u", отказов 90% от парка"},
};

double lnTime(double t) {
    return std::log(t + 0.00001);
}

ChartPoint colored(double x, double y, std::uint32_t rgb) {
    return ChartPoint{.x = x, .y = y, .label = {}, .rgb = rgb, .hasColor = true};
}

} // namespace

double censoringWeight(double sred, double sko, double t) {
    double share = 1.0 - Norm_Raspr(sred, sko, t);
    if (!(share >= kMinWarrantyShare)) share = kMinWarrantyShare;
    return 1.0 / share;
}

void computeLoadSummary(const std::vector<Problems>& otkazy, double park, double sred, double sko,
                        SummaryValues& v, LoadSummary& summary) {
    v = SummaryValues{};
    summary = LoadSummary{};
    const int n = static_cast<int>(otkazy.size());
    bool reached[std::size(kThresholds)] = {};
    double w = 0;
    int m = 0;
    double minX = 0, maxX = 0;
    summary.points.reserve(otkazy.size());
    for (int i = 0; i < n; ++i) {
        const double t = otkazy[static_cast<std::size_t>(i)].time;
        if (t > 0 && v.N_Perv_Otk == -1) v.N_Perv_Otk = i;
        if (t >= 1) {
            const double x = lnTime(t);
            const double y = std::log(i + 1.0);
            v.Sum_X += x;
            v.Sum_Y += y;
            v.Sum_X2 += x * x;
            v.Sum_XY += x * y;
            if (m == 0 || x < minX) minX = x;
            if (m == 0 || x > maxX) maxX = x;
            ++m;
            summary.points.push_back(colored(x, y, kGreen));
        }
        if (t > 0) w += censoringWeight(sred, sko, t);
        if (t >= 2000 && v.Otk_2000 == 0) v.Otk_2000 = w / park * 2000 / t;
        for (std::size_t k = 0; k < std::size(kThresholds); ++k) {
            const double p = kThresholds[k].p;
            if (reached[k] || w / park < p) continue;
            reached[k] = true;
            const QString label = QString::fromUtf16(kThresholds[k].label);
            if (!summary.thresholdRows.empty() && summary.thresholdRows.back().first == i)
                summary.thresholdRows.back().second = label;
            else
                summary.thresholdRows.emplace_back(i, label);
            if (k == 0 || k == 2) {
                // Before the first failure nothing has been observed: count from t = 0.
                const double tPrev = i > 0 ? otkazy[static_cast<std::size_t>(i) - 1].time : 0.0;
                const double excess = w - p * park;
                const double value = t - (excess - std::trunc(excess)) * (t - tPrev);
                if (k == 0)
                    v.T10 = value;
                else
                    v.T50_Nabl = v.T50_Cens = value;
            }
        }
    }
    if (n > 0) {
        const double last = otkazy.back().time;
        // No positive time: the figure has no meaning and stays 0.
        if (last < 2000 && last > 0 && v.Otk_2000 == 0) v.Otk_2000 = w / park * 2000 / last;
    }
    const double denom = m * v.Sum_X2 - v.Sum_X * v.Sum_X;
    // Two points at distinct times at least; equal times leave the slope undefined.
    if (m >= 2 && minX < maxX && v.N_Perv_Otk >= 0 && std::isfinite(denom) && denom > 0) {
        v.Naklon_LN = (m * v.Sum_XY - v.Sum_X * v.Sum_Y) / denom;
        v.Sdvig_LN = (v.Sum_Y - v.Naklon_LN * v.Sum_X) / m;
        v.Line_Defined = true;
        for (const double t :
             {otkazy[static_cast<std::size_t>(v.N_Perv_Otk)].time, otkazy.back().time}) {
            const double x = lnTime(t);
            summary.line.push_back(colored(x, v.Naklon_LN * x + v.Sdvig_LN, kRed));
        }
    }
}

void applySummary(const SummaryValues& v, AnalysisState& s) {
    s.N_Perv_Otk = v.N_Perv_Otk;
    s.Sum_X = v.Sum_X;
    s.Sum_Y = v.Sum_Y;
    s.Sum_X2 = v.Sum_X2;
    s.Sum_XY = v.Sum_XY;
    s.Naklon_LN = v.Naklon_LN;
    s.Sdvig_LN = v.Sdvig_LN;
    s.Line_Defined = v.Line_Defined;
    s.T10 = v.T10;
    s.T50_Nabl = v.T50_Nabl;
    s.T50_Cens = v.T50_Cens;
    s.Otk_2000 = v.Otk_2000;
}

std::array<QString, 4> problemsGridHeader() {
    return {QStringLiteral(" № отказа"), QStringLiteral("Наработка, ч"),
            QStringLiteral("Источник отказа"), QStringLiteral("Описание отказа")};
}

std::array<int, 4> problemsGridWidths() {
    return {65, 85, 200, 1010};
}

std::array<QString, 4> problemsGridRow(const AnalysisState& s, const LoadSummary& sum,
                                       int failureIndex) {
    std::array<QString, 4> row;
    if (failureIndex < 0 || static_cast<std::size_t>(failureIndex) >= s.Otkazy.size()) return row;
    const Problems& f = s.Otkazy[static_cast<std::size_t>(failureIndex)];
    row[0] = QString::number(failureIndex + 1);
    row[1] = fmt::general(f.time);
    if (f.chey >= 0 && static_cast<std::size_t>(f.chey) < s.Vidy_Otk_Sort.size())
        row[2] = s.Vidy_Otk_Sort[static_cast<std::size_t>(f.chey)].Nazv_Prich;
    for (const auto& [index, label] : sum.thresholdRows)
        if (index == failureIndex) row[2] += label;
    row[3] = f.komment;
    return row;
}

} // namespace wf
