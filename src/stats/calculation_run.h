#pragma once
// The calculation run of the main window, up to the results output: field conversions,
// input check, histogram and the ticked deterministic fits with their evaluations.

#include "analysis/state.h"
#include "stats/core/fit_clock.h"
#include "stats/fits.h"

#include <QString>
#include <QStringList>

#include <vector>

namespace wf {

// Texts and states of the main-window controls the run reads.
struct CalcFields {
    QString FilePath, meSred, meSKO, LabeledEdit2, LabeledEdit3, Edit1, Edit6, Edit5;
    bool SpirSpusk = true, BoxNewton = false, BoxSmirnow = false, Sred_flag = false,
         SKO_Flag = false;
    int RadioGroup1 = 1;
};

struct CalcOutcome {
    enum class Status { Done, ConversionError, NotReady, NoFailures, BadFactor, Cancelled };
    Status status = Status::Done;
    QStringList memo;     // lines for Memo2, in order: per model its fit lines, then its
                          // confidence line
    QStringList messages; // message boxes to show
    std::vector<FitReport> fits;
};

// Input check: stores filePath in Put_Fajla; an empty path adds the message and gives false;
// otherwise gives Dannye_Gotovy (false without a message when nothing was read).
bool Proverka_Dannyh(AnalysisState& s, const QString& filePath, QStringList& messages);

// The run: conversions in order (a bad field stops it, keeping the values converted before
// it), input check, flags, histogram, then models 1.1, 1.2 and 2 as ticked, each followed by
// Harakt_Modeli and Dover_Interval. A step factor is read when its model starts.
CalcOutcome runCalculation(AnalysisState& s, const CalcFields& f, FitClock& clock,
                           const ProgressFn& progress = {});

} // namespace wf
