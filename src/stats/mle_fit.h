#pragma once
// The maximum-likelihood model: A, B and K of the failure flow thinned by warranty exit that
// maximise the likelihood (stats/mle_model.h), with bounds on them and on the figures the
// results table derives from them: likelihood-ratio bounds by default, Wald bounds (the
// delta method on the log scale) on request.

#include "analysis/state.h"
#include "core/job_end.h"
#include "stats/mle_bounds.h"
#include "stats/mle_profile.h"
#include "stats/mle_search.h"

#include <QString>

#include <array>
#include <vector>

namespace wf {

struct MleSettings {
    double confidence = 0.95; // two-sided level of the bounds
    BoundsMethod method = BoundsMethod::LikelihoodRatio;
    bool lifeBounds = true; // likelihood-ratio bounds of "Гамма 50%" and "Гамма 90%" too
    // The level must lie strictly between 0 and 1.
    bool valid(QString* why = nullptr) const;
};

struct MleEstimate {
    double value = 0;
    MleBounds bounds;
};

struct MleResult {
    JobEnd end{Termination::Refused,
               {}}; // Done, or Refused: nothing was fitted, `message` says why
    MleEstimate A, B, K;
    MleEstimate gamma50, gamma90;               // "Гамма 50%" and "Гамма 90%", h
    MleEstimate perProduct2000, perProduct4000; // failures per product by 2000 and 4000 h
    double logLikelihood = 0;
    std::array<double, 3> gradient{}; // of l in (ln A, ln B, ln K) at the estimate
    bool converged = false;
    int iterations = 0; // steps of the local search
    int failures = 0;   // failures in the likelihood (those at 1 h or later)
    double Sred = 0;    // the warranty law the model was fitted with, h
    double SKO = 0;
    double confidence = 0;
    BoundsMethod method = BoundsMethod::LikelihoodRatio;
    double z = 0; // half-width factor of Wald bounds on the log scale
    // Empty, or why there is no fit, why the bounds are undefined, or (one line each) what
    // the data leave open.
    QString message;
};

// Fits the model to the state's failures with its Park, Sred_Gar and SKO_Gar, changing
// nothing: the load-time guess and a coarse grid, then Newton steps on ln A, ln B with K
// maximised in closed form, until the step is below 1e-10; then the bounds. Deterministic.
MleResult fitMle(const AnalysisState& s, const MleSettings& set);

// The same fit to failures already chosen (one cause's, say), started from the moments of
// ln t. Each of `extra` gets its value and bounds in `extraOut`, in order, as the table's do.
MleResult fitMle(const MleSample& d, const MleSettings& set,
                 const std::vector<MleFigure>& extra = {},
                 std::vector<MleEstimate>* extraOut = nullptr);

// Stores a fit in s.ModMLE as the other fits store theirs: A, B, K_powtor, the warranty law
// it was fitted with, the per-interval arrays over the current Hist, Harakt_Modeli and
// Executed. False, and nothing changed, when the fit is not ok.
bool storeMle(AnalysisState& s, const MleResult& r);

} // namespace wf
