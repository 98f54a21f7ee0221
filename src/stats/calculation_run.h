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
    QString filePath;         // data file path
    QString warrantyMean;     // mean time of leaving warranty, h
    QString warrantySd;       // its SD, h
    QString countingPeriod;   // counting period, h (checked, not kept)
    QString burnIn;           // burn-in time, h
    QString stepFactorSpiral; // step reduction factors of models 1.1, 1.2 and 2
    QString stepFactorNewton;
    QString stepFactorSmirnov;
    bool spiral = true, newton = false, smirnov = false; // models ticked
    bool mle = false;                                    // model 3, maximum likelihood
    QString confidence = QStringLiteral("0.95");         // level of model 3's bounds
    bool fitMean = false, fitSd = false; // search the warranty mean / SD (models 1.1, 1.2)
    int criterion = 1;                   // way of fitting models 1.1 and 1.2: 0, 1 or 2
};

struct CalcOutcome {
    // Why a run was refused (end Refused); None otherwise.
    enum class Refusal { None, ConversionError, NotReady, NoFailures, BadFactor };
    JobEnd end; // Done, Cancelled (by progress) or Refused
    Refusal refusal = Refusal::None;
    QStringList memo;     // lines for the log, in order: per model its fit lines, then its
                          // confidence line
    QStringList messages; // message boxes to show
    std::vector<FitReport> fits;

    // Ends the run as refused for `why`; `message` (may be empty) also goes to the boxes.
    void refuse(Refusal why, const QString& message) {
        refusal = why;
        end = JobEnd::refused(message);
        if (!message.isEmpty()) messages << message;
    }
};

// Input check: stores filePath in Put_Fajla; an empty path adds the message and gives false;
// otherwise gives Dannye_Gotovy (false without a message when nothing was read).
bool Proverka_Dannyh(AnalysisState& s, const QString& filePath, QStringList& messages);

// The run: conversions in order (a bad field stops it, keeping the values converted before
// it), input check, flags, histogram, then models 1.1, 1.2, 2 and 3 as ticked, each followed
// by Harakt_Modeli and Dover_Interval. A step factor or level is read when its model starts.
CalcOutcome runCalculation(AnalysisState& s, const CalcFields& f, FitClock& clock,
                           const ProgressFn& progress = {});

} // namespace wf
