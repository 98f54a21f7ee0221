#include "stats/pearson.h"

#include "core/interval_flow.h"
#include "stats/model_arrays.h"

#include <cmath>
#include <cstring>

namespace wf {

namespace {

inline double term(int criterion, double O, double E, double fWeib) {
    if (criterion == 0) {
        const double d = std::fabs(E) >= kPearsonMinExpected ? E : kPearsonMinExpected;
        const double r = (O - E) / d;
        return r * r;
    }
    if (criterion == 1) return (O - E) * (O - E);
    const double r = (O - E) * (1 - fWeib);
    return r * r;
}

inline bool sameBits(double a, double b) {
    return std::memcmp(&a, &b, sizeof a) == 0;
}

} // namespace

double Celev_Pirson(const AnalysisState& s, Mod_Weib& M, double A, double B, double K, double Sred,
                    double SKO, int criterion) {
    fillIntervalArrays(s, M, {A, B, K, Sred, SKO}, flow::Step::ClampedAtZero);
    M.Kol_Nakopl = 0;
    double acc = 0;
    for (std::size_t k = 0; k < s.Hist.size(); ++k) {
        const double E = M.Kol_F_priv[k];
        M.Kol_Nakopl += E;
        acc += term(criterion, static_cast<double>(s.Hist[k].Sum), E, M.F_Weib[k]);
    }
    const double dt = s.Kol_Otk_Bez_Braka - M.Kol_Nakopl;
    return acc + 8 * (dt * dt);
}

PearsonObjective::PearsonObjective(const AnalysisState& s, int criterion)
    : park_(s.Park)
    , total_(s.Kol_Otk_Bez_Braka)
    , criterion_(criterion) {
    const std::size_t m = s.Hist.size();
    ends_.resize(m);
    mids_.resize(m);
    observed_.resize(m);
    fnorm_.resize(m);
    weib_.resize(m);
    double tPrev = 0;
    for (std::size_t k = 0; k < m; ++k) {
        ends_[k] = s.Hist[k].time;
        mids_[k] = flow::middle(tPrev, ends_[k]);
        observed_[k] = s.Hist[k].Sum;
        tPrev = ends_[k];
    }
}

double PearsonObjective::operator()(Mod_Weib& M, double A, double B, double K, double Sred,
                                    double SKO) {
    const std::size_t m = ends_.size();
    if (!haveNorm_ || !sameBits(Sred, sred_) || !sameBits(SKO, sko_)) {
        for (std::size_t k = 0; k < m; ++k) fnorm_[k] = Norm_Raspr(Sred, SKO, mids_[k]);
        sred_ = Sred;
        sko_ = SKO;
        haveNorm_ = true;
    }
    double* const fNorm = M.F_norm.data();
    double* const fWeib = M.F_Weib.data();
    double* const kolF = M.Kol_F_priv.data();
    if (!haveWeib_ || !sameBits(A, a_) || !sameBits(B, b_)) {
        for (std::size_t k = 0; k < m; ++k) weib_[k] = Weib_Raspr(A, B, ends_[k]);
        w0_ = Weib_Raspr(A, B, 0);
        a_ = A;
        b_ = B;
        haveWeib_ = true;
    }
    double acc = 0, nakopl = 0;
    double wPrev = w0_;
    for (std::size_t k = 0; k < m; ++k) {
        const double fw = flow::weibullStep(weib_[k] - wPrev, flow::Step::ClampedAtZero);
        wPrev = weib_[k];
        fNorm[k] = fnorm_[k];
        fWeib[k] = fw;
        const double E =
            flow::expectedFailures(park_, K, fw, 1 - fnorm_[k], flow::Order::ScaleFirst);
        kolF[k] = E;
        nakopl += E;
        acc += term(criterion_, observed_[k], E, fw);
    }
    M.Kol_Nakopl = nakopl;
    const double dt = total_ - nakopl;
    return acc + 8 * (dt * dt);
}

} // namespace wf
