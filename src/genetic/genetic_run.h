#pragma once
// Starting a genetic run from the window's fields, as readGeneticSettings
// (analysis/run_fields.h) converted them, and applying its outcome; both run on the
// user-interface thread, the search itself (genetic_engine.h) between them.

#include "analysis/run_fields.h"
#include "analysis/state.h"
#include "core/job_end.h"
#include "genetic/genetic_engine.h"

#include <QString>
#include <QStringList>

namespace wf {

// The gene accuracy must give genes of 1 to 31 bits; otherwise false and, in `why`, the
// message naming the allowed range.
bool accuracyValid(double accuracy, QString* why = nullptr);

struct GeneticPrep {
    JobEnd end{Termination::Refused, {}}; // Done, or Refused: the last message says why
    QStringList messages;                 // message boxes to show, in order (empty when ok)
    std::optional<RunField> field;        // the field a refusal is about, if any
    GeneticSettings settings;
};

// The run button's steps: stores the warranty mean and SD and the burn-in in order (values
// before an unreadable one stay stored), Proverka_Dannyh, the flags, Kol_Genov, Tochnost,
// Gen_Shag, Postr_Gist and the ModGen arrays. Refuses with a message: an unreadable field,
// an accuracy giving genes of 0 or more than 31 bits, a population or generation count that
// GeneticSettings refuses, no failures, no failures besides "Брак".
GeneticPrep prepareGeneticRun(AnalysisState& s, const GeneticRunSettings& set);

// The end steps: Gen_Par = Gen_Par_Best, the ModGen record and arrays, the searched
// warranty mean/SD written back (not when the run recorded no best), Harakt_Modeli and
// Dover_Interval. Returns the log lines to append. Does nothing (returns no lines) when the
// outcome ran no generations.
QStringList applyGeneticOutcome(AnalysisState& s, const GeneticOutcome& o);

} // namespace wf
