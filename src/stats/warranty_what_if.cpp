#include "stats/warranty_what_if.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/mle_bounds.h"
#include "stats/mle_profile.h"

#include <cmath>

namespace wf {

bool WarrantyLaw::valid(QString* why) const {
    const bool ok = mean > 0 && std::isfinite(mean) && sd >= 0 && std::isfinite(sd);
    if (!ok && why) *why = msg::whatIfBadLaw(fmt::general(mean), fmt::general(sd));
    return ok;
}

WhatIf warrantyWhatIf(const MleSample& d, const WeibullParams& at, const WarrantyLaw& law,
                      double level, BoundsMethod method) {
    WhatIf w;
    w.law = law;
    if (!law.valid(&w.message)) return w;
    if (d.n() == 0 || !(at.A > 0 && at.B > 0 && at.K > 0) || !(level > 0 && level < 1)) {
        w.message = msg::whatIfNoFit;
        return w;
    }
    const MleFigure f{MleFigure::Kind::PerProductWarranty, law.mean, law.sd};
    const MleFigure current{MleFigure::Kind::PerProductWarranty, d.mean, d.sd};
    w.defined = true;
    w.perProduct = figureValue(f, at.A, at.B, at.K);
    w.fleet = w.perProduct * d.park;
    w.currentPerProduct = figureValue(current, at.A, at.B, at.K);

    ShapeCache cache(d);
    const MleBox box = mleBox();
    const MlePoint p = evaluatePoint(d, cache, std::log(at.A), std::log(at.B), KRule{}, box);
    Matrix3 info{}, cov{};
    for (int i = 0; i < 3; ++i)
        for (int j = 0; j < 3; ++j) info[i][j] = -p.l.hess[i][j];
    const bool invertible = invertInformation(info, cov);
    // d ln(K I) / d(ln A, ln B, ln K): the Wald bounds' slope and the profile's first step.
    const WarrantyShare sh = flowShare(at.A, at.B, law.mean, law.sd);
    const std::array<double, 3> slope{sh.dA / sh.I, sh.dB / sh.I, 1};
    const bool sloped = sh.I > 0 && std::isfinite(slope[0]) && std::isfinite(slope[1]);
    if (method == BoundsMethod::Wald) {
        if (invertible && sloped)
            w.bounds = logScaleBounds(w.perProduct, slope, cov, twoSidedZ(level));
        return w;
    }
    double step = 0;
    if (invertible && sloped) {
        double var = 0;
        for (int i = 0; i < 3; ++i)
            for (int j = 0; j < 3; ++j) var += slope[i] * cov[i][j] * slope[j];
        if (var > 0 && std::isfinite(var)) step = twoSidedZ(level) * std::sqrt(var);
    }
    const ProfileContext c{d, p, p.l.value, chiSquareQuantile(level, 1), box};
    if (w.perProduct > 0) w.bounds = profileBounds(c, cache, f, step);
    return w;
}

WhatIf warrantyWhatIf(const AnalysisState& s, const WarrantyLaw& law) {
    const Mod_Weib& m = s.ModMLE;
    if (!m.Executed) {
        WhatIf w;
        w.law = law;
        w.message = msg::whatIfNoFit;
        return w;
    }
    const LikelihoodDetail& d = s.ModMLE_Detail;
    return warrantyWhatIf(mleSample(s, m.Sred, m.SKO), {m.A, m.B, m.K_powtor}, law, d.confidence,
                          d.method);
}

WhatIf warrantyWhatIf(const CauseFit& c, const WarrantyLaw& law) {
    if (!c.fitted || !c.sample) {
        WhatIf w;
        w.law = law;
        w.message = c.message.isEmpty() ? msg::whatIfNoFit : c.message;
        return w;
    }
    return warrantyWhatIf(*c.sample, {c.fit.A.value, c.fit.B.value, c.fit.K.value}, law,
                          c.fit.confidence, c.fit.method);
}

} // namespace wf
