#include "results/chart_layout.h"
#include "results/results_data.h"
#include "results/results_table.h"

#include "analysis/load_summary.h"
#include "core/distributions.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "stats/mle_band.h"
#include "stats/model_figures.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>
#include <utility>

namespace wf {

namespace {

// Element q of a model array; a model fitted on an earlier histogram may hold fewer.
double elementOr0(const DoubArr& a, std::size_t q) {
    return q < a.size() ? a[q] : 0.0;
}

ChartPoint point(double x, double y, const QString& label) {
    return ChartPoint{x, y, label, 0, false};
}

ChartPoint coloured(double x, double y, const QString& label, std::uint32_t rgb) {
    return ChartPoint{x, y, label, rgb, true};
}

// The ln-ln accumulation of the failures and its least-squares line, in the colours given.
void lnLnPoints(const AnalysisState& s, std::vector<ChartPoint>& points,
                std::vector<ChartPoint>& line, int& first, std::uint32_t green = kLnLnGreen,
                std::uint32_t red = kLnLnRed) {
    first = -1;
    const int n = static_cast<int>(s.Otkazy.size());
    for (int i = 0; i < n; ++i) {
        const double t = s.Otkazy[static_cast<std::size_t>(i)].time;
        if (!(t > 0)) continue;
        points.push_back(coloured(std::log(t + 0.00001), std::log(i + 1.0), QString(), green));
        if (first < 0) first = i;
    }
    if (first < 0 || !s.Line_Defined) return;
    for (const double t : {s.Otkazy[static_cast<std::size_t>(first)].time, s.Otkazy.back().time}) {
        const double x = std::log(t + 0.00001);
        line.push_back(coloured(x, s.Naklon_LN * x + s.Sdvig_LN, QString(), red));
    }
}

// Model 3 without the exits, K F(t) times `scale`, at each of `times`, and its pointwise
// bounds at the fit's level where both sides are finite.
void mleCurveAndBand(const AnalysisState& s, const std::vector<double>& times, double scale,
                     SeriesData& curve, SeriesData& band) {
    const Mod_Weib& M = s.ModMLE;
    if (!M.Executed) return;
    for (double t : times)
        curve.points.push_back(
            point(t, scale * failuresPerProduct(M.A, M.B, M.K_powtor, t), fmt::general(t)));
    for (const BandPoint& p : failuresPerProductBand(s, times, bandLevel(s.ModMLE_Detail))) {
        const ConfidenceBounds& b = p.bounds;
        if (!b.defined || b.loOpen || b.hiOpen || !(b.lo > 0)) continue;
        const QString label = fmt::general(p.t);
        band.points.push_back(point(p.t, scale * b.hi, label));
        band.lower.push_back(point(p.t, scale * b.lo, label));
    }
}

// Each model record beside its totals in the results.
using TotalsOf = std::optional<ModelTotals> ResultsState::*;
constexpr std::array<std::pair<Mod_Weib AnalysisState::*, TotalsOf>, 6> kModelTotals = {{
    {&AnalysisState::ModNewton, &ResultsState::ModNewton},
    {&AnalysisState::ModSpir, &ResultsState::ModSpir},
    {&AnalysisState::ModSmirnov, &ResultsState::ModSmirnov},
    {&AnalysisState::ModGen, &ResultsState::ModGen},
    {&AnalysisState::ModExt, &ResultsState::ModExt},
    {&AnalysisState::ModMLE, &ResultsState::ModMLE},
}};

// The fixed series of the three charts by id, looked up once per call. The charts must not
// gain series while it is in use.
class FixedSeries {
public:
    explicit FixedSeries(ResultsData& r) {
        for (ChartData* c : {&r.chart1, &r.chart2, &r.chart3})
            for (SeriesData& d : c->series)
                if (d.id != ChartSeries::Cause) at_[static_cast<std::size_t>(d.id)] = &d;
    }
    SeriesData& operator[](ChartSeries id) const { return *at_[static_cast<std::size_t>(id)]; }

private:
    std::array<SeriesData*, static_cast<std::size_t>(ChartSeries::Cause)> at_{};
};

} // namespace

double CalcLamEmp(const AnalysisState& s, double burnIn) {
    // No window left below 1000 h (or no fleet): no rate to report.
    if (!(burnIn < 1000) || !(s.Park > 0)) return 0;
    double sum = 0;
    for (const Problems& p : s.Otkazy)
        if (p.time > burnIn && p.time <= 1000)
            sum += censoringWeight(s.Sred_Gar, s.SKO_Gar, p.time);
    return 1000.0 * sum / (1000.0 - burnIn) / s.Park;
}

ResultsData ShowResults(const AnalysisState& s, double burnIn, const TextWidthFn& measure) {
    ResultsData r;
    if (!std::isfinite(burnIn)) {
        r.end = JobEnd::refused(msg::notANumber(fmt::general(burnIn)));
        return r;
    }
    ResultsState& u = r.state;
    u.T_Prirab = burnIn;
    u.Lam_Emp = CalcLamEmp(s, burnIn);

    const std::size_t m = s.Hist.size();
    u.P_Norm_Int.assign(m, 0.0);

    // Models 1.1 and 1.2 keep their totals while not executed; the others start from 0.
    if (s.ModNewton.Executed) u.ModNewton.emplace();
    if (s.ModSpir.Executed) u.ModSpir.emplace();
    for (std::optional<ModelTotals>* t : {&u.ModSmirnov, &u.ModGen, &u.ModExt, &u.ModMLE})
        t->emplace();

    r.chart1 = makeChart1(s);
    r.chart2 = makeChart2(s);
    r.chart3 = makeChart3();

    // Causes with failures, in index order; k-th of them owns the k-th per-cause series.
    const double park = s.Park;
    const auto perProduct = [park](double v) { return park > 0 ? v / park : 0.0; };
    std::vector<int> causes;
    // A cause keeps its table colour in all three charts unless a model or an earlier
    // cause has it; then it takes the nearest free shade.
    std::vector<std::uint32_t> used = seriesColors(r.chart1);
    for (std::uint32_t c : seriesColors(r.chart2)) used.push_back(c);
    std::vector<std::uint32_t> colours;
    for (int j = 0; j <= lastChartedCause(s); ++j) {
        const Vid_otkaza& v = s.Vidy_Otk_Sort[static_cast<std::size_t>(j)];
        if (!(v.Dolya > 0)) continue;
        causes.push_back(j);
        const std::uint32_t rgb = freeShade(causeColor(j), used);
        used.push_back(rgb);
        colours.push_back(rgb);
        const QString title1 = v.Nazv_Prich + QLatin1Char(' ') + fmt::integer(v.Dolya) +
                               QStringLiteral(" раз (") +
                               fmt::format(QStringLiteral("%3.1f"), {perProduct(v.Dolya * 100)}) +
                               QStringLiteral("%") + QStringLiteral(" /машину");
        addCauseSeries(r.chart1, j, rgb, 0, title1);
        addCauseSeries(r.chart2, j, rgb, 30, v.Nazv_Prich);
        addCauseSeries(r.chart3, j, rgb, 0, v.Nazv_Prich);
        addCauseSeries(r.chart3, j, rgb, 60,
                       v.Nazv_Prich + QStringLiteral(" с учетом цензурирования"));
    }
    // The ln-ln accumulation gives way to a cause of its colour on the chart they share.
    const std::uint32_t lnGreen = freeShade(kLnLnGreen, colours);
    const std::uint32_t lnRed = freeShade(kLnLnRed, colours);

    using C = ChartSeries;
    const FixedSeries fixed(r);

    // Interval pass: intervals with failures only; a skipped span widens the next step.
    double tPrev = 0;
    std::vector<double> curveTimes; // the hours of the curves' points
    double total = 0;
    for (std::size_t q = 0; q < m; ++q) {
        const Hist_Rec& h = s.Hist[q];
        if (h.Sum <= 0) continue;
        const double t = fmt::roundHalfEven(h.time);
        curveTimes.push_back(t);
        const double f = t > tPrev ? 100.0 / (t - tPrev) : 0.0;
        const double p = Norm_Raspr(s.Sred_Gar, s.SKO_Gar, t);
        u.P_Norm_Int[q] = p;
        total += h.Sum;
        for (const auto& [record, totalsOf] : kModelTotals) {
            const Mod_Weib& mod = s.*record;
            if (!mod.Executed) continue;
            ModelTotals& totals = *(u.*totalsOf);
            // Model 2 sums only its censored failures.
            if (record != &AnalysisState::ModSmirnov) totals.Unsens += elementOr0(mod.F_Weib, q);
            totals.Kol_Nakopl += elementOr0(mod.Kol_F_priv, q);
        }

        const QString label = fmt::general(t);
        // A curve point at its hour; a bar over its interval's hours.
        const double x = t;
        const auto add = [&](ChartSeries id, double y) {
            fixed[id].points.push_back(point(x, y, label));
        };
        const auto bar = [&](SeriesData& d, double y, std::uint32_t rgb) {
            d.points.push_back(coloured(x, y, label, rgb));
            d.barFrom.push_back(tPrev);
        };

        for (std::size_t k = 0; k < causes.size(); ++k) {
            const int j = causes[k];
            const double n = h.Npr[static_cast<std::size_t>(j)];
            const std::uint32_t rgb = colours[k];
            u.Sum_Npr[static_cast<std::size_t>(j)] += n;
            bar(r.chart1.series[kChart1CauseBase + k], perProduct(n * f), rgb);
            bar(r.chart2.series[kChart2CauseBase + k],
                perProduct(u.Sum_Npr[static_cast<std::size_t>(j)]), rgb);
            // The corrected bar: with every product out of warranty and failures still
            // seen there is nothing to correct by, so the bar is left out.
            if (n == 0 || p < 1)
                bar(r.chart3.series[kChart3CauseBase + 2 * k + 1],
                    n == 0 ? 0.0 : perProduct(2 * n * f) / (1 - p), rgb);
        }

        const double pct = perProduct(100 * total);
        add(C::ObservedPercent, pct);
        fixed[C::ObservedPercent].valueTexts.push_back(fmt::grouped(pct, 1));
        // Models 1.1 and 1.2: rate and total, each with and without the warranty exits.
        const auto pearsonSeries = [&](const Mod_Weib& M, const std::optional<ModelTotals>& t,
                                       std::array<ChartSeries, 4> ids) {
            if (!M.Executed) return;
            add(ids[0], elementOr0(M.F_Weib, q) * f * M.K_powtor);
            add(ids[1], perProduct(elementOr0(M.Kol_F_priv, q) * f));
            add(ids[2], t->Unsens * M.K_powtor);
            add(ids[3], perProduct(t->Kol_Nakopl));
        };
        pearsonSeries(
            s.ModSpir, u.ModSpir,
            {C::SpiralRate, C::SpiralRateCensored, C::SpiralTotal, C::SpiralTotalCensored});
        pearsonSeries(
            s.ModNewton, u.ModNewton,
            {C::NewtonRate, C::NewtonRateCensored, C::NewtonTotal, C::NewtonTotalCensored});
        if (const Mod_Weib& M = s.ModExt; M.Executed)
            add(C::ExternalRateCensored, perProduct(elementOr0(M.Kol_F_priv, q) * f));
        if (const Mod_Weib& M = s.ModGen; M.Executed) {
            const ModelTotals& totals = *u.ModGen;
            add(C::GeneticRate, elementOr0(M.F_Weib, q) * M.K_powtor * f);
            add(C::GeneticRateCensored, perProduct(elementOr0(M.Kol_F_priv, q) * f));
            add(C::GeneticTotal, totals.Unsens * M.K_powtor);
            add(C::GeneticTotalCensored, perProduct(totals.Kol_Nakopl));
        }
        if (const Mod_Weib& M = s.ModMLE; M.Executed) {
            const ModelTotals& totals = *u.ModMLE;
            add(C::MleRateCensored, perProduct(elementOr0(M.Kol_F_priv, q) * f));
            add(C::MleTotalCensored, perProduct(totals.Kol_Nakopl));
        }
        if (const Mod_Weib& M = s.ModSmirnov; M.Executed) {
            const ModelTotals& totals = *u.ModSmirnov;
            add(C::SmirnovRateCensored, perProduct(elementOr0(M.Kol_F_priv, q) * f));
            add(C::SmirnovTotalCensored, perProduct(totals.Kol_Nakopl));
        }
        add(C::ExitShareOnRates, 100 * p);
        add(C::ExitShareOnTotals, 100 * p);
        add(C::ObservedTotal, perProduct(total));

        tPrev = t;
    }
    mleCurveAndBand(s, curveTimes, 1.0, fixed[C::MleTotal], fixed[C::MleBand]);

    r.caption =
        s.Kommentarij + QStringLiteral(" (") + fmt::general(s.Kol_All) + QStringLiteral(" шт.)");
    fillResultTable(s, r, measure);
    r.causes = causesInput(s);
    if (r.causes) r.causes->caption = r.caption;

    fixed[C::LnLnFailures].rgb = lnGreen;
    fixed[C::LnLnLine].rgb = lnRed;
    lnLnPoints(s, fixed[C::LnLnFailures].points, fixed[C::LnLnLine].points, u.N_Perv_Otk, lnGreen,
               lnRed);

    return r;
}

void storeResults(AnalysisState& s, const ResultsData& r) {
    if (!r.end.done()) return;
    const ResultsState& u = r.state;
    s.T_Prirab = u.T_Prirab;
    s.Lam_Emp = u.Lam_Emp;
    s.T_Lam_Kon = u.T_Lam_Kon;
    s.P_Norm_Int = u.P_Norm_Int;
    s.Stolbec_Rez = u.Stolbec_Rez;
    s.Sum_Npr = u.Sum_Npr;
    s.N_Perv_Otk = u.N_Perv_Otk;
    for (const auto& [record, totalsOf] : kModelTotals) {
        const std::optional<ModelTotals>& totals = u.*totalsOf;
        if (!totals) continue;
        (s.*record).Kol_Nakopl = totals->Kol_Nakopl;
        (s.*record).Unsens = totals->Unsens;
    }
}

LogViewData logViewData(const AnalysisState& s) {
    LogViewData v;
    int first = -1;
    lnLnPoints(s, v.points, v.line, first);
    const bool defined = first >= 0 && s.Line_Defined;
    const auto coef = [defined](double c) {
        return defined ? fmt::format(QStringLiteral("%6.4f"), {c}) : QStringLiteral("—");
    };
    v.aText = QStringLiteral("A= ") + coef(s.Naklon_LN);
    v.bText = QStringLiteral("B= ") + coef(s.Sdvig_LN);
    v.title = s.Kommentarij;
    // Model 3 over the failures' hours, evenly on the log scale.
    if (s.ModMLE.Executed && !v.points.empty()) {
        // From the first failure the flow counts (1 h on), not from the burn-in rejects.
        double from = 0;
        for (const ChartPoint& p : v.points)
            if (std::exp(p.x) >= 1) {
                from = std::exp(p.x);
                break;
            }
        const double to = std::exp(v.points.back().x);
        std::vector<double> times;
        constexpr int kLogPoints = 30;
        for (int i = 0; i < kLogPoints && from > 0 && to > from; ++i)
            times.push_back(from * std::pow(to / from, i / (kLogPoints - 1.0)));
        v.mleCurve = mleUncensoredSeries(ChartSeries::AccumulationMle, true);
        v.mleBand = mleBandSeries(ChartSeries::AccumulationMleBand, s.ModMLE_Detail, true);
        mleCurveAndBand(s, times, s.Park, v.mleCurve, v.mleBand);
    }
    return v;
}

std::vector<std::vector<QString>> trimmedRows(const ResultsData& r) {
    std::vector<std::vector<QString>> rows(kResultRows, std::vector<QString>(kResultColumns));
    for (int c = 0; c < kResultColumns; ++c)
        for (int row = 0; row < kResultRows; ++row) {
            QString t = r.grid[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)];
            while (t.endsWith(QLatin1Char(' '))) t.chop(1);
            rows[static_cast<std::size_t>(row)][static_cast<std::size_t>(c)] = t;
        }
    return rows;
}

} // namespace wf
