#pragma once
// What a fitted flow would give under another warranty law: the expected failures per
// product seen from 1 h until exit, K E[W(X)] (X the exit, normal, or a fixed limit when its
// SD is 0), with bounds from the same likelihood the fit maximised.

#include "analysis/state.h"
#include "stats/cause_fits.h"
#include "stats/mle_model.h"

#include <QString>

namespace wf {

struct WarrantyLaw {
    double mean = 0; // h
    double sd = 0;   // h; 0 is a fixed limit at the mean

    // A finite mean above 0 and a finite SD of 0 or more; otherwise false and, in `why`,
    // the message naming both.
    bool valid(QString* why = nullptr) const;
};

struct WhatIf {
    bool defined = false; // false: `message` says why
    WarrantyLaw law;
    double perProduct = 0;        // K E[W(X)] under `law` at the estimate
    ConfidenceBounds bounds;      // of perProduct, likelihood-ratio or Wald as the fit's
    double fleet = 0;             // perProduct times the fleet size
    double currentPerProduct = 0; // the same under the law fitted with (n / Park at the estimate)
    QString message;
};

// For the flow fitted to `d` with estimate `at`, bounds at `level` by `method`.
WhatIf warrantyWhatIf(const MleSample& d, const WeibullParams& at, const WarrantyLaw& law,
                      double level, BoundsMethod method = BoundsMethod::LikelihoodRatio);
// Model 3 as stored in s.ModMLE, at its own level, method and warranty law.
WhatIf warrantyWhatIf(const AnalysisState& s, const WarrantyLaw& law);
// One cause's fit, at its level and method.
WhatIf warrantyWhatIf(const CauseFit& c, const WarrantyLaw& law);

} // namespace wf
