#pragma once
// Starting a genetic run from the window's field texts and applying its outcome; both run
// on the user-interface thread, the search itself (genetic_engine.h) between them.

#include "analysis/job_end.h"
#include "analysis/state.h"
#include "genetic/genetic_engine.h"

#include <QString>
#include <QStringList>

namespace wf {

// The field texts a run reads.
struct GeneticFields {
    QString filePath;       // data file path
    QString warrantyMean;   // warranty mean
    QString warrantySd;     // warranty SD
    QString countingPeriod; // calculation period (checked, not kept)
    QString burnIn;         // burn-in time
    QString accuracy;       // accuracy
    QString population;     // population size
    QString generations;    // generations
    bool fitMean = false;   // search the warranty mean too
    bool fitSd = false;     // search the warranty SD too
};

struct GeneticPrep {
    JobEnd end{Termination::Refused, {}}; // Done, or Refused: the last message says why
    QStringList messages;                 // message boxes to show, in order (empty when ok)
    GeneticSettings settings;
};

// The run button's steps: converts the warranty mean and SD, the counting period and the burn-in in
// order (values before a bad one stay stored), Proverka_Dannyh, the flags, Kol_Genov, Tochnost,
// Gen_Shag, Postr_Gist and the ModGen arrays. Refuses with
// a message: a field that is not a number or integer, an accuracy giving genes of 0 or more
// than 31 bits, a population below 10 or above 1000000, fewer than 1 generation, no
// failures, no failures besides "Брак".
GeneticPrep prepareGeneticRun(AnalysisState& s, const GeneticFields& f);

// The end steps: Gen_Par = Gen_Par_Best, the ModGen record and arrays, the searched
// warranty mean/SD written back (not when the run recorded no best), Harakt_Modeli and
// Dover_Interval. Returns the log lines to append. Does nothing (returns no lines) when the
// outcome ran no generations.
QStringList applyGeneticOutcome(AnalysisState& s, const GeneticOutcome& o);

} // namespace wf
