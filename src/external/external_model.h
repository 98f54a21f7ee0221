#pragma once
// The optimizer's A, B and K made into the model ModExt.

#include "analysis/state.h"

#include <QStringList>

namespace wf {

// On the UI thread after Done: rebuilds Hist, fills and evaluates ModExt, and returns the
// log lines in order (confidence line, "Расчёт модели Golang выполнен", the A/B/K line).
// With no failures loaded returns nothing and leaves the state untouched.
QStringList applyExternalModel(AnalysisState& s, double A, double B, double K);

} // namespace wf
