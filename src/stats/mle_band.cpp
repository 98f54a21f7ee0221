#include "stats/mle_band.h"

#include "stats/mle_profile.h"

#include <cmath>

namespace wf {

std::vector<BandPoint> failuresPerProductBand(const AnalysisState& s,
                                              const std::vector<double>& times, double level) {
    std::vector<BandPoint> band;
    const Mod_Weib& m = s.ModMLE;
    if (!m.Executed || !(m.A > 0 && m.B > 0 && m.K_powtor > 0)) return band;
    const MleSample d = mleSample(s, m.Sred, m.SKO);
    if (d.n() == 0) return band;
    ShapeCache cache(d);
    const MleBox box = mleBox();
    const MlePoint at = evaluatePoint(d, cache, std::log(m.A), std::log(m.B), KRule{}, box);
    const ProfileContext c{d, at, at.l.value, chiSquareQuantile(level, 1), box};
    double step = 0;
    band.reserve(times.size());
    for (double t : times) {
        if (!(t > 0)) continue;
        BandPoint p;
        p.t = t;
        const MleFigure f{MleFigure::Kind::PerProduct, t};
        p.value = figureValue(f, m.A, m.B, m.K_powtor);
        p.bounds = profileBounds(c, cache, f, step);
        // The next time's sides lie close on the log scale: start there.
        if (p.bounds.defined && !p.bounds.loOpen && !p.bounds.hiOpen && p.value > 0)
            step =
                1.05 * std::max(std::log(p.value / p.bounds.lo), std::log(p.bounds.hi / p.value));
        band.push_back(p);
    }
    return band;
}

} // namespace wf
