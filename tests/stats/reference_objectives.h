#pragma once
// The two objectives written term by term as their formulas read, with no reuse of any
// value: the yardstick the fast objectives must match bit for bit.

#include "analysis/state.h"
#include "core/distributions.h"
#include "stats/pearson.h"
#include "stats/smirnov.h"

#include <cmath>

namespace wf::test {

inline double plainCelevPirson(const AnalysisState& s, Mod_Weib& M, double A, double B, double K,
                               double Sred, double SKO, int criterion) {
    const auto& h = s.Hist;
    const std::size_t m = h.size();
    auto lower = [&](std::size_t k) { return k == 0 ? 0.0 : h[k - 1].time; };
    for (std::size_t k = 0; k < m; ++k)
        M.F_norm[k] = Norm_Raspr(Sred, SKO, (lower(k) + h[k].time) / 2);
    M.Kol_Nakopl = 0;
    const double c = s.Park * K;
    double acc = 0;
    for (std::size_t k = 0; k < m; ++k) {
        M.F_Weib[k] = Weib_Interv(A, B, lower(k), h[k].time);
        if (M.F_Weib[k] < 0) M.F_Weib[k] = 0;
        const double E = M.Kol_F_priv[k] = c * M.F_Weib[k] * (1 - M.F_norm[k]);
        M.Kol_Nakopl += E;
        const double O = h[k].Sum;
        if (criterion == 0) {
            // The expected count is floored in the divisor only.
            const double d = std::fabs(E) >= kPearsonMinExpected ? E : kPearsonMinExpected;
            acc += ((O - E) / d) * ((O - E) / d);
        } else if (criterion == 1) {
            acc += (O - E) * (O - E);
        } else {
            acc += ((O - E) * (1 - M.F_Weib[k])) * ((O - E) * (1 - M.F_Weib[k]));
        }
    }
    return acc + 8 * ((s.Kol_Otk_Bez_Braka - M.Kol_Nakopl) * (s.Kol_Otk_Bez_Braka - M.Kol_Nakopl));
}

inline double plainCelevSmirnov(const AnalysisState& s, double A, double B, double K) {
    double sum = 0, c = 0, tp = 0;
    int m = 0;
    for (std::size_t i = 0; i < s.Otkazy.size(); ++i) {
        const double t = s.Otkazy[i].time;
        if (t < 1) continue;
        c += (1 - s.ModSmirnov.F_norm[i]) * Weib_Interv(A, B, tp, t) * s.Park * K;
        sum += ((m + 1) - c) * ((m + 1) - c);
        tp = t;
        m += 1;
    }
    const double total = s.Kol_Otk_Bez_Braka > 0 ? s.Kol_Otk_Bez_Braka : 1;
    return std::sqrt(sum) / total + std::fabs(c - m + 1) / 200;
}

} // namespace wf::test
