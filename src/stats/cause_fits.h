#pragma once
// Model 3 fitted to each cause's failures alone. Causes fail as independent Poisson flows
// thinned by the same warranty exit, so the fleet's likelihood is the product of the
// causes' likelihoods and each cause's A, B, K follow from its own failures, with the same
// fleet size and warranty law.

#include "analysis/state.h"
#include "stats/mle_fit.h"
#include "stats/mle_model.h"

#include <QString>

#include <memory>
#include <vector>

namespace wf {

// Fewer failures (at 1 h or later) than this leave a cause unfitted.
inline constexpr int kMinCauseFailures = 5;

// What the bounds of the shape A say of a cause's failures.
enum class CauseKind {
    Unknown, // no bounds
    Early,   // "приработочные": the upper bound of A below 1
    Wearout, // "износовые": the lower bound above 1
    Random,  // "случайные или не различимы": the bounds hold 1
};
CauseKind causeKind(const ConfidenceBounds& shape);
QString causeKindText(CauseKind k); // the Russian words above; empty for Unknown

struct CauseFit {
    int cause = 0; // index into Vidy_Otk_Sort
    QString name;
    int failures = 0;    // at 1 h or later; a failure naming several causes counts in each
    bool fitted = false; // enough failures and the fit ran to its end
    MleResult fit;       // A, B, K with bounds; failures per product by 2000 and 4000 h (no lives')
    MleEstimate perProductWarranty; // K E[W(X)] within the current warranty law
    CauseKind kind = CauseKind::Unknown;
    QString message;                         // "мало отказов", or the fit's own message
    std::shared_ptr<const MleSample> sample; // the cause's likelihood sample (for a what-if)
};

struct CauseFits {
    // Fitted causes by perProductWarranty descending, then the others by failures descending.
    std::vector<CauseFit> causes;
    int sharedFailures = 0; // failures at 1 h or later counted under more than one cause
};

// One cause's failure times at 1 h or later.
struct CauseSample {
    int cause = 0; // index into Vidy_Otk_Sort
    QString name;
    std::vector<double> times; // h
};
// Every cause but "Брак" ("Другие" only when it has failures) with the fleet's Park,
// Sred_Gar and SKO_Gar: what the fits need, apart from the state.
struct CauseSamples {
    std::vector<CauseSample> causes;
    int sharedFailures = 0;
    double park = 0, mean = 0, sd = 0;
};
CauseSamples causeSamples(const AnalysisState& s);

// Each cause fitted at the settings' level and method. Deterministic.
CauseFits fitCauses(const CauseSamples& in, const MleSettings& set);
CauseFits fitCauses(const AnalysisState& s, const MleSettings& set);

} // namespace wf
