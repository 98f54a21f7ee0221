#pragma once
// The calculation run of the main window, up to the results output: input check,
// histogram and the ticked deterministic fits with their evaluations. It takes the fields
// as readCalcSettings (analysis/run_fields.h) converted them.

#include "analysis/run_fields.h"
#include "analysis/state.h"
#include "core/fit_clock.h"
#include "stats/calculation_writes.h"
#include "stats/fits.h"

#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

namespace wf {

struct CalcOutcome {
    // Why a run was refused (end Refused); None otherwise.
    enum class Refusal { None, ConversionError, NotReady, NoFailures, BadFactor };
    JobEnd end; // Done, Cancelled (by progress) or Refused
    Refusal refusal = Refusal::None;
    std::optional<RunField> field; // the field a refusal is about, if any
    QStringList memo;              // lines for the log, in order: per model its fit lines, then its
                                   // confidence line
    QStringList messages;          // message boxes to show
    std::vector<FitReport> fits;
    CalcWrites writes; // what the run changed in the state it was given

    // Ends the run as refused for `why`; `message` (may be empty) also goes to the boxes.
    void refuse(Refusal why, const QString& message, std::optional<RunField> about = {}) {
        refusal = why;
        field = about;
        end = JobEnd::refused(message);
        if (!message.isEmpty()) messages << message;
    }
};

// Input check: stores filePath in Put_Fajla; an empty path adds the message and gives false;
// otherwise gives Dannye_Gotovy (false without a message when nothing was read).
bool Proverka_Dannyh(AnalysisState& s, const QString& filePath, QStringList& messages);

// The run: the warranty values and burn-in stored in order (an unreadable field stops it,
// keeping those stored before it), input check, flags, histogram, then models 1.1, 1.2, 2
// and 3 as ticked, each followed by Harakt_Modeli and Dover_Interval. A step factor or level
// is checked when its model starts. It works on its own copy of `s` and hands back, in
// `writes`, only what it changed there: applyCalcWrites puts that into the caller's state.
CalcOutcome runCalculation(AnalysisState s, const CalcSettings& set, FitClock& clock,
                           const ProgressFn& progress = {});

// The same steps on `s` itself, leaving `writes` empty.
CalcOutcome runCalculationSteps(AnalysisState& s, const CalcSettings& set, FitClock& clock,
                                const ProgressFn& progress = {});

} // namespace wf
