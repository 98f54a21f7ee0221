#include "stats/cause_fits.h"

#include "format/messages.h"

#include <algorithm>

namespace wf {

CauseKind causeKind(const ConfidenceBounds& shape) {
    if (!shape.defined) return CauseKind::Unknown;
    if (!shape.hiOpen && shape.hi < 1) return CauseKind::Early;
    if (!shape.loOpen && shape.lo > 1) return CauseKind::Wearout;
    return CauseKind::Random;
}

QString causeKindText(CauseKind k) {
    switch (k) {
    case CauseKind::Early:
        return msg::causeKindEarly;
    case CauseKind::Wearout:
        return msg::causeKindWearout;
    case CauseKind::Random:
        return msg::causeKindRandom;
    case CauseKind::Unknown:
        break;
    }
    return {};
}

CauseSamples causeSamples(const AnalysisState& s) {
    CauseSamples out;
    out.park = s.Park;
    out.mean = s.Sred_Gar;
    out.sd = s.SKO_Gar;
    const std::size_t nc = s.Vidy_Otk_Sort.size();
    std::vector<QString> names(nc);
    for (std::size_t j = 1; j < nc; ++j) names[j] = s.Vidy_Otk_Sort[j].Nazv_Prich.toLower();
    // A failure belongs to its own cause and, as the loader counts it, to every cause whose
    // name its cause text holds; "Брак" (index 0) is left out.
    std::vector<std::vector<double>> times(nc);
    for (const Problems& p : s.Otkazy) {
        if (!(p.time >= kFlowStart)) continue;
        const QString text = p.Pri.toLower();
        int count = 0;
        for (std::size_t j = 1; j < nc; ++j) {
            const bool own = p.chey == static_cast<int>(j);
            if (own || (!names[j].isEmpty() && !text.isEmpty() && text.contains(names[j]))) {
                times[j].push_back(p.time);
                ++count;
            }
        }
        if (count > 1) ++out.sharedFailures;
    }
    for (std::size_t j = 1; j < nc; ++j) {
        if (j == 1 && times[j].empty()) continue; // "Другие" only when it holds failures
        out.causes.push_back(
            {static_cast<int>(j), s.Vidy_Otk_Sort[j].Nazv_Prich, std::move(times[j])});
    }
    return out;
}

CauseFits fitCauses(const CauseSamples& in, const MleSettings& set) {
    CauseFits out;
    out.sharedFailures = in.sharedFailures;
    const MleFigure warranty{MleFigure::Kind::PerProductWarranty, in.mean, in.sd};
    std::vector<CauseFit> fitted, rest;
    for (const CauseSample& cs : in.causes) {
        CauseFit c;
        c.cause = cs.cause;
        c.name = cs.name;
        c.failures = static_cast<int>(cs.times.size());
        if (c.failures < kMinCauseFailures) {
            c.message = msg::causeTooFewFailures;
            rest.push_back(std::move(c));
            continue;
        }
        auto d = std::make_shared<MleSample>(mleSample(cs.times, in.park, in.mean, in.sd));
        std::vector<MleEstimate> extra;
        MleSettings own = set;
        own.lifeBounds = false; // a cause's row shows no lives
        c.fit = fitMle(*d, own, {warranty}, &extra);
        c.sample = std::move(d);
        c.message = c.fit.message;
        c.fitted = c.fit.end.done();
        if (!c.fitted) {
            rest.push_back(std::move(c));
            continue;
        }
        c.perProductWarranty = extra[0];
        c.kind = causeKind(c.fit.A.bounds);
        fitted.push_back(std::move(c));
    }
    std::stable_sort(fitted.begin(), fitted.end(), [](const CauseFit& a, const CauseFit& b) {
        return a.perProductWarranty.value > b.perProductWarranty.value;
    });
    std::stable_sort(rest.begin(), rest.end(),
                     [](const CauseFit& a, const CauseFit& b) { return a.failures > b.failures; });
    out.causes = std::move(fitted);
    for (CauseFit& c : rest) out.causes.push_back(std::move(c));
    return out;
}

CauseFits fitCauses(const AnalysisState& s, const MleSettings& set) {
    return fitCauses(causeSamples(s), set);
}

} // namespace wf
