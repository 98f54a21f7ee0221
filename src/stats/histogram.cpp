#include "stats/histogram.h"

#include <cmath>

namespace wf {

namespace {

// One pass with the given steps; returns the number of intervals.
int buildPass(AnalysisState& st, int shagNach, int shagDal) {
    const auto& otk = st.Otkazy;
    const std::size_t n = otk.size();
    const double tLast = otk[n - 1].time;
    st.Hist.clear();
    double T = 0;
    std::size_t i = 0, p = 0;
    int e = 0;
    for (int k = 0;; ++k) {
        st.Hist.emplace_back();
        const double step = k < 10 ? shagNach : shagDal;
        for (;;) {
            // Steps and ends are whole numbers, exact in a double, so a run of empty steps
            // can be jumped over at once; it stops a full step short of the next failure,
            // so the single steps after it decide exactly as step-by-step widening would.
            if (i == p && i < n) {
                const double gap = std::floor((otk[i].time - T) / step) - 1;
                const double toEnd = std::floor((tLast - T) / step) - 1;
                const double jump = std::fmin(gap, toEnd);
                if (jump > 0) T += jump * step;
            }
            T += step;
            while (i < n && otk[i].time < T + 0.1) {
                int c = otk[i].chey;
                if (c < 0 || c >= kNprSize) c = 1; // out of the table: "Другие"
                if (otk[i].time < 1) {
                    st.Hist[0].Npr[c] += 1;
                    ++e;
                } else {
                    st.Hist[k].Npr[c] += 1;
                }
                ++i;
            }
            st.Hist[k].Sum = static_cast<int>(i - p) - (k == 0 ? e : 0);
            if (i > p || T >= tLast) break;
        }
        st.Hist[k].time = T;
        p = i;
        if (!(T < tLast)) break;
    }
    return static_cast<int>(st.Hist.size());
}

} // namespace

bool Postr_Gist(AnalysisState& st) {
    st.Shag_Nach = 100;
    st.Shag_Dal = 100;
    st.Hist.clear();
    if (st.Otkazy.empty()) return false;
    for (const auto& o : st.Otkazy)
        if (!(std::fabs(o.time) <= kMaxFailureTime)) return false;
    const int n = static_cast<int>(st.Otkazy.size());
    for (;;) {
        const int m = buildPass(st, st.Shag_Nach, st.Shag_Dal);
        if ((n > 70 && m <= 10) || m <= 6) {
            if (st.Shag_Nach / 2 < kMinShagNach) break;
            st.Shag_Nach /= 2;
        } else if (m >= 42) {
            if (st.Shag_Dal > kMaxShagDal / 2) break;
            st.Shag_Dal *= 2;
        } else {
            break;
        }
    }
    return true;
}

} // namespace wf
