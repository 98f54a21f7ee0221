#pragma once
// A fleet whose failures follow a known model exactly: the i-th failure lies where the
// model's expected censored count reaches i + 0.5, so a fit should land near the model.

#include "analysis/state.h"
#include "stats/core/distributions.h"
#include "stats/histogram.h"

#include <cmath>

namespace wf::testing {

struct KnownModel {
    double A = 1.4, B = 1500, K = 0.6, Sred = 6000, SKO = 800, Park = 1000;
};

inline AnalysisState fleetOf(const KnownModel& m = {}) {
    AnalysisState s;
    s.Park = s.Kol_All = m.Park;
    s.Sred_Gar = m.Sred;
    s.SKO_Gar = m.SKO;
    s.T_Prirab = 300;
    s.Dannye_Gotovy = true;
    double expected = 0;
    double next = 0.5;
    const double dt = 1.0;
    for (double t = dt; t < 20000; t += dt) {
        expected += m.Park * m.K * Weib_Interv(m.A, m.B, t - dt, t) *
                    (1 - Norm_Raspr(m.Sred, m.SKO, t - dt / 2));
        while (expected >= next) {
            Problems p;
            p.time = t;
            p.chey = 2;
            s.Otkazy.push_back(p);
            next += 1;
        }
    }
    s.Kol_Otk = static_cast<int>(s.Otkazy.size()) + 1;
    s.Kol_Otk_Bez_Braka = static_cast<int>(s.Otkazy.size());
    s.N_Perv_Otk = 0;
    Postr_Gist(s);
    return s;
}

} // namespace wf::testing
