#pragma once
// The small rules of the three searches, kept apart so each can be checked on its own:
// how the step reduction factor grows with the seconds part of the elapsed time, when a
// trial's next step counts as inside its bounds, and when model 2 may stop.

#include <cmath>

namespace wf::rules {

// Model 1.1, after a pass with n coordinates.
inline double spiralFactor(double R, int sek, int n) {
    if (R < 5) {
        if (sek > 0.5 * n * n) R = R * 1.0755;
        if (sek > 2.5 * n * n) R = R * 1.755;
    }
    return R;
}

// Model 1.2, after a reversal.
inline double newtonFactor(double R, int sek, int n) {
    if (sek > 0.35 * n * n && R < 3) R = R * 1.075;
    return R;
}

// Model 2, after a pass.
inline double smirnovFactor(double R, int sek) {
    if (R < 3) {
        if (sek > 5) R = R * 1.0875;
        if (sek > 15) R = R * 1.2875;
    }
    return R;
}

// Model 1.2: the next step must stay inside; the lower bound itself counts as outside.
inline bool newtonNextInside(double next, double lo, double hi) {
    return lo < next && next <= hi;
}

// Model 2: the same test written as its search states it.
inline bool smirnovNextLeaves(double next, double lo, double hi) {
    return lo >= next || next > hi;
}

// Model 2 runs until the seconds part reaches 10, then stops at a pass end unless the
// scale's step is the only one still at or above its tolerance.
inline bool smirnovStops(int sek, double S1, double S2, double S3) {
    const bool onlyScaleLeft =
        std::fabs(S1) >= 1e-5 && std::fabs(S2) < 1e-7 && std::fabs(S3) < 1e-8;
    return sek >= 10 && !onlyScaleLeft;
}

// Model 1.1 stops when every step is below its tolerance or the seconds part exceeds 10.
inline bool spiralStops(bool allStepsSmall, int sek) {
    return allStepsSmall || sek > 10;
}

} // namespace wf::rules
