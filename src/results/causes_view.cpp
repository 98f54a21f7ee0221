#include "results/causes_view.h"

#include "core/distributions.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "results/results_table.h"
#include "stats/model_figures.h"

#include <algorithm>
#include <cmath>

namespace wf {

namespace {

// Line colours of the charted causes and of the rest: dark enough to read on white, none
// of them a model's colour on the other charts.
constexpr std::uint32_t kCauseLine[kChartedCauses + 1] = {0xC62828, 0x1565C0, 0x2E7D32,
                                                          0xEF6C00, 0x6A1B9A, 0x616161};
constexpr int kChartPoints = 120;

QString withBounds(double value, const ConfidenceBounds& b, int decimals) {
    const QString v = decimals == 0 ? fmt::integer(value) : fmt::fixed(value, 0, decimals);
    return v + QLatin1Char(' ') + boundsText(b, decimals);
}

QString whatIfCell(const WhatIf& w) {
    return w.defined ? withBounds(w.perProduct, w.bounds, 3) : w.message;
}

QString changeCell(const WhatIf& w) {
    if (!w.defined) return {};
    // Rounded first, so no change reads "0.000" rather than "-0.000".
    const double d = fmt::roundHalfEven((w.perProduct - w.currentPerProduct) * 1000) / 1000;
    return (d > 0 ? QStringLiteral("+") : QString()) + fmt::fixed(d == 0 ? 0.0 : d, 0, 3);
}

SeriesData line(ChartSeries id, const QString& title, SeriesKind kind, std::uint32_t rgb, int row) {
    SeriesData s;
    s.id = id;
    s.title = title;
    s.kind = kind;
    s.rgb = rgb;
    s.hasColor = true;
    s.causeIndex = row;
    return s;
}

// Failures per product observed by each time: the share of `logTimes` at or below it.
std::vector<double> observedAccumulation(const std::vector<const std::vector<double>*>& logTimes,
                                         double park, const std::vector<double>& times) {
    std::vector<double> t;
    for (const std::vector<double>* v : logTimes)
        for (double lt : *v) t.push_back(std::exp(lt));
    std::sort(t.begin(), t.end());
    std::vector<double> out;
    out.reserve(times.size());
    for (double x : times) {
        const auto n = std::upper_bound(t.begin(), t.end(), x * (1 + 1e-12)) - t.begin();
        out.push_back(park > 0 ? static_cast<double>(n) / park : 0);
    }
    return out;
}

ChartData causesChart(const CausesInput& in, const CauseFits& fits) {
    ChartData c;
    c.title = msg::causesChartTitle;
    c.leftAxis = msg::perProductAxis;
    c.bottomAxis = QStringLiteral("Время наработки, час");
    c.legendVisible = true;
    std::vector<double> times(kChartPoints);
    const double end = std::max(in.lastTime, 2 * kFlowStart);
    for (int i = 0; i < kChartPoints; ++i)
        times[static_cast<std::size_t>(i)] =
            kFlowStart + (end - kFlowStart) * i / (kChartPoints - 1);
    const auto add = [&](const QString& name, std::uint32_t rgb, int row,
                         const std::vector<double>& model, const std::vector<double>& seen) {
        SeriesData m =
            line(ChartSeries::CauseFlow, msg::causeModelLegend(name), SeriesKind::Line, rgb, row);
        SeriesData o = line(ChartSeries::CauseObserved, msg::causeObservedLegend(name),
                            SeriesKind::DashedLine, rgb, row);
        for (std::size_t i = 0; i < times.size(); ++i) {
            ChartPoint pm, po;
            pm.x = po.x = times[i];
            pm.y = model[i];
            po.y = seen[i];
            m.points.push_back(pm);
            o.points.push_back(po);
        }
        c.series.push_back(std::move(m));
        c.series.push_back(std::move(o));
    };
    std::vector<double> restModel(times.size(), 0.0);
    std::vector<const std::vector<double>*> restTimes;
    int charted = 0, rest = 0;
    for (std::size_t r = 0; r < fits.causes.size(); ++r) {
        const CauseFit& f = fits.causes[r];
        if (!f.fitted || !f.sample) continue;
        const WeibullParams p{f.fit.A.value, f.fit.B.value, f.fit.K.value};
        const std::vector<double> model =
            thinnedAccumulation(p, f.sample->mean, f.sample->sd, times);
        const std::vector<double>* logTimes = &f.sample->logTimes;
        if (charted < kChartedCauses) {
            add(f.name, kCauseLine[charted], static_cast<int>(r), model,
                observedAccumulation({logTimes}, in.fleet.park, times));
            ++charted;
        } else {
            for (std::size_t i = 0; i < times.size(); ++i) restModel[i] += model[i];
            restTimes.push_back(logTimes);
            ++rest;
        }
    }
    if (rest > 0)
        add(msg::causesRest(rest), kCauseLine[kChartedCauses], -1, restModel,
            observedAccumulation(restTimes, in.fleet.park, times));
    return c;
}

} // namespace

std::optional<CausesInput> causesInput(const AnalysisState& s) {
    const Mod_Weib& m = s.ModMLE;
    if (!m.Executed) return std::nullopt;
    CausesInput in;
    in.causes = causeSamples(s);
    in.fleet = mleSample(s, m.Sred, m.SKO);
    in.fit = {m.A, m.B, m.K_powtor};
    in.detail = s.ModMLE_Detail;
    for (const Problems& p : s.Otkazy) in.lastTime = std::max(in.lastTime, p.time);
    return in;
}

WhatIfRun runWhatIf(const CausesInput& in, const CauseFits& fits, const WarrantyLaw& law) {
    WhatIfRun run;
    run.fleet = warrantyWhatIf(in.fleet, in.fit, law, in.detail.confidence, in.detail.method);
    for (const CauseFit& c : fits.causes) run.causes.push_back(warrantyWhatIf(c, law));
    return run;
}

std::vector<double> thinnedAccumulation(const WeibullParams& p, double mean, double sd,
                                        const std::vector<double>& times) {
    std::vector<double> out;
    out.reserve(times.size());
    if (!(sd > 0)) { // a fixed limit: the flow seen is K (F(min(t, L)) - F(1 h)), exactly
        for (double t : times) {
            const double to = std::min(t, mean);
            out.push_back(to > kFlowStart
                              ? p.K * (Weib_Raspr(p.A, p.B, to) - Weib_Raspr(p.A, p.B, kFlowStart))
                              : 0);
        }
        return out;
    }
    // Ten SDs from the mean the exit share is 1 or 0 to the last digit shown: there dF counts
    // whole or not at all; between, midpoint sums over steps of a fiftieth of the SD at most.
    const double lo = mean - 10 * sd, hi = mean + 10 * sd;
    const auto seen = [&](double a, double b) {
        double part = 0;
        if (a < lo) part += Weib_Raspr(p.A, p.B, std::min(b, lo)) - Weib_Raspr(p.A, p.B, a);
        a = std::max(a, lo);
        b = std::min(b, hi);
        if (b <= a) return part;
        const int steps = std::max(1, static_cast<int>(std::ceil((b - a) / (sd / 50))));
        const double h = (b - a) / steps;
        double fa = Weib_Raspr(p.A, p.B, a);
        for (int k = 0; k < steps; ++k) {
            const double fb = Weib_Raspr(p.A, p.B, a + h * (k + 1));
            part += (fb - fa) * (1 - Norm_Raspr(mean, sd, a + h * (k + 0.5)));
            fa = fb;
        }
        return part;
    };
    double sum = 0, from = kFlowStart;
    for (double t : times) {
        if (t > from) {
            sum += seen(from, t);
            from = t;
        }
        out.push_back(p.K * sum);
    }
    return out;
}

CausesView causesView(const CausesInput& in, const CauseFits& fits, const WhatIfRun* whatIf) {
    CausesView v;
    std::vector<QString> heading = msg::causesHeading;
    if (whatIf) {
        heading.push_back(msg::whatIfColumn(fmt::general(whatIf->fleet.law.mean),
                                            fmt::general(whatIf->fleet.law.sd)));
        heading.push_back(msg::whatIfChangeColumn);
    }
    v.table.push_back(heading);

    const double park = in.fleet.park;
    const auto observed = [park](int n) { return fmt::fixed(park > 0 ? n / park : 0, 0, 3); };
    // The whole fleet: model 3 as fitted, its figure within the current law worked out as a
    // cause's is, so the rows compare like with like.
    const WeibullParams& p = in.fit;
    const LikelihoodDetail& d = in.detail;
    const WhatIf current =
        warrantyWhatIf(in.fleet, p, {in.fleet.mean, in.fleet.sd}, d.confidence, d.method);
    std::vector<QString> whole{
        msg::causesWholeFleet,
        fmt::integer(in.fleet.n()),
        withBounds(p.A, d.A, 2),
        withBounds(p.B, d.B, 0),
        withBounds(p.K, d.K, 3),
        whatIfCell(current),
        observed(in.fleet.n()),
        withBounds(failuresPerProduct(p.A, p.B, p.K, 2000), d.perProduct2000, 3),
        withBounds(failuresPerProduct(p.A, p.B, p.K, 4000), d.perProduct4000, 3),
        causeKindText(causeKind(d.A))};
    if (whatIf) {
        whole.push_back(whatIfCell(whatIf->fleet));
        whole.push_back(changeCell(whatIf->fleet));
    }
    v.table.push_back(std::move(whole));

    for (std::size_t r = 0; r < fits.causes.size(); ++r) {
        const CauseFit& c = fits.causes[r];
        std::vector<QString> row{c.name, fmt::integer(c.failures)};
        if (c.fitted) {
            row.insert(row.end(),
                       {withBounds(c.fit.A.value, c.fit.A.bounds, 2),
                        withBounds(c.fit.B.value, c.fit.B.bounds, 0),
                        withBounds(c.fit.K.value, c.fit.K.bounds, 3),
                        withBounds(c.perProductWarranty.value, c.perProductWarranty.bounds, 3),
                        observed(c.failures),
                        withBounds(c.fit.perProduct2000.value, c.fit.perProduct2000.bounds, 3),
                        withBounds(c.fit.perProduct4000.value, c.fit.perProduct4000.bounds, 3),
                        causeKindText(c.kind)});
        } else {
            row.insert(row.end(), {c.message, QString(), QString(), QString(), observed(c.failures),
                                   QString(), QString(), QString()});
        }
        if (whatIf) {
            const WhatIf& w = whatIf->causes[r];
            row.push_back(c.fitted ? whatIfCell(w) : QString());
            row.push_back(c.fitted ? changeCell(w) : QString());
        }
        v.table.push_back(std::move(row));
    }

    if (fits.sharedFailures > 0) v.notes << msg::causesShared(fits.sharedFailures);
    if (whatIf && whatIf->fleet.defined) {
        const WhatIf& w = whatIf->fleet;
        v.notes << msg::whatIfSummary(fmt::general(w.law.mean), fmt::general(w.law.sd),
                                      whatIfCell(w), fmt::fixed(w.fleet, 0, 1),
                                      fmt::fixed(w.currentPerProduct, 0, 3),
                                      observed(in.fleet.n()));
    } else if (whatIf) {
        v.notes << whatIf->fleet.message;
    }
    for (const CauseFit& c : fits.causes) {
        if (!c.fitted || c.message.isEmpty()) continue;
        v.notes << c.name + QStringLiteral(": ") +
                       QString(c.message).replace(QLatin1Char('\n'), QStringLiteral("; "));
    }
    v.chart = causesChart(in, fits);
    return v;
}

} // namespace wf
