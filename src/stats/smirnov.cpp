#include "stats/smirnov.h"

#include "core/interval_flow.h"

#include <cmath>
#include <cstring>

namespace wf {

double smirnovDivisor(const AnalysisState& s) {
    return s.Kol_Otk_Bez_Braka > 0 ? static_cast<double>(s.Kol_Otk_Bez_Braka) : 1.0;
}

SmirnovObjective::SmirnovObjective(const AnalysisState& s, const std::vector<double>& fnorm)
    : park_(s.Park)
    , divisor_(smirnovDivisor(s)) {
    double tp = 0;
    for (std::size_t i = 0; i < s.Otkazy.size(); ++i) {
        const double t = s.Otkazy[i].time;
        if (t < 1) continue;
        times_.push_back(t);
        stay_.push_back(1 - fnorm[i]);
        newTime_.push_back(t != tp ? 1 : 0);
        tp = t;
    }
    weib_.resize(times_.size());
}

double SmirnovObjective::operator()(double A, double B, double K) {
    const std::size_t n = times_.size();
    double* const w = weib_.data();
    if (!haveWeib_ || std::memcmp(&A, &a_, sizeof A) != 0 || std::memcmp(&B, &b_, sizeof B) != 0) {
        const double* t = times_.data();
        const unsigned char* fresh = newTime_.data();
        w0_ = Weib_Raspr(A, B, 0);
        double wPrev = w0_;
        for (std::size_t i = 0; i < n; ++i) {
            if (fresh[i]) wPrev = Weib_Raspr(A, B, t[i]);
            w[i] = wPrev;
        }
        a_ = A;
        b_ = B;
        haveWeib_ = true;
    }
    const double* stay = stay_.data();
    double sum = 0, c = 0, m = 0;
    double wPrev = w0_;
    // At a repeated time the difference is exactly 0 and the sum the same as computing it
    // afresh.
    for (std::size_t i = 0; i < n; ++i) {
        c += flow::expectedFailures(park_, K, w[i] - wPrev, stay[i], flow::Order::StayFirst);
        wPrev = w[i];
        const double d = (m + 1) - c;
        sum += d * d;
        m += 1;
    }
    return std::sqrt(sum) / divisor_ + std::fabs(c - m + 1) / 200;
}

} // namespace wf
