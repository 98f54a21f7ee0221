#pragma once
// The three deterministic fits of the Weibull failure-flow model: model 1.1 (spiral
// descent), model 1.2 (Newton-style coordinate search), model 2 (Smirnov). Every time rule
// reads the injected clock; each objective evaluation ticks it once.

#include "analysis/state.h"
#include "core/fit_clock.h"
#include "core/job_end.h"
#include "format/messages.h"

#include <QString>
#include <QStringList>

namespace wf {

struct FitSettings {
    double Koef_Umen = 1.00025;           // step reduction factor of the fit's field
    int criterion = 1;                    // way-of-fitting item (models 1.1 and 1.2)
    QString label = msg::stepFactorLabel; // the factor's field, for the message
    // A factor must be a number above 1, or the steps would not shrink.
    bool valid(QString* why = nullptr) const;
};

// No fit runs longer than this much clock time, whatever its own stop rule says.
inline constexpr std::int64_t kFitSafetyLimitUs = 10LL * 60 * 1000 * 1000;

struct FitReport {
    // Cancelled: progress asked to stop, the model record was left as before; LimitReached:
    // ended by kFitSafetyLimitUs with its point stored; Refused: the settings, nothing changed.
    JobEnd end;
    QStringList memo; // the fit's own log lines
    long long evaluations = 0;
    long long passes = 0;
    double objective = 0; // final objective value
};

// Model 1.1 into s.ModSpir; writes a searched warranty mean / SD back to Sred_Gar / SKO_Gar.
FitReport Podbor_Spiral(AnalysisState& s, const FitSettings& set, FitClock& clock,
                        const ProgressFn& progress = {});
// Model 1.2 into s.ModNewton (A and B included); write-back as model 1.1.
FitReport Podbor_Newton(AnalysisState& s, const FitSettings& set, FitClock& clock,
                        const ProgressFn& progress = {});
// Model 2 into s.ModSmirnov; runs until the seconds part of the elapsed time reaches 10.
FitReport Podbor_Smirnov(AnalysisState& s, const FitSettings& set, FitClock& clock,
                         const ProgressFn& progress = {});

// The log line of a fit's warning; model is "1.1", "1.2" or "2".
QString diagnosticLine(const QString& model, const SearchDiagnostic& d);

} // namespace wf
