#include "stats/mle_band.h"

#include "stats/mle_profile.h"

#include <algorithm>
#include <cmath>

namespace wf {

double bandLevel(const LikelihoodDetail& d) {
    return d.confidence > 0 && d.confidence < 1 ? d.confidence : 0.95;
}

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
    // A deficit off by 1e-3 moves a side a side w away by about 1e-4 w on the log scale:
    // far below a pixel.
    const ProfileContext c{d, at, at.l.value, chiSquareQuantile(level, 1), box, 1e-3};
    double step = 0;
    SideHints hints;
    // Each side's distance from the value on the log scale, at the last two times: the next
    // is extrapolated in ln t, which puts the hint a Newton step from its root.
    struct Offsets {
        double lnT[2] = {0, 0}, off[2] = {0, 0};
        int known = 0;
        void push(double lnT0, double off0) {
            lnT[1] = lnT[0];
            off[1] = off[0];
            lnT[0] = lnT0;
            off[0] = off0;
            known = std::min(known + 1, 2);
        }
        double at(double x) const {
            if (known < 2 || lnT[0] == lnT[1]) return off[0];
            return off[0] + (off[0] - off[1]) * (x - lnT[0]) / (lnT[0] - lnT[1]);
        }
    } loOff, hiOff;
    band.reserve(times.size());
    for (double t : times) {
        if (!(t > 0)) continue;
        BandPoint p;
        p.t = t;
        const MleFigure f{MleFigure::Kind::PerProduct, t};
        p.value = figureValue(f, m.A, m.B, m.K_powtor);
        const double lnT = std::log(t);
        const double lnValue = p.value > 0 ? std::log(p.value) : 0;
        if (hints.lo.known) hints.lo.x = lnValue + loOff.at(lnT);
        if (hints.hi.known) hints.hi.x = lnValue + hiOff.at(lnT);
        p.bounds = profileBounds(c, cache, f, step, &hints);
        if (hints.lo.known)
            loOff.push(lnT, hints.lo.x - lnValue);
        else
            loOff = {};
        if (hints.hi.known)
            hiOff.push(lnT, hints.hi.x - lnValue);
        else
            hiOff = {};
        if (p.bounds.defined && !p.bounds.loOpen && !p.bounds.hiOpen && p.value > 0)
            step =
                1.05 * std::max(std::log(p.value / p.bounds.lo), std::log(p.bounds.hi / p.value));
        band.push_back(p);
    }
    return band;
}

} // namespace wf
