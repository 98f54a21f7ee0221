#pragma once
// Judging a fitted model: failure rates, curve deviation, confidence line and the
// Kolmogorov criterion.

#include "analysis/state.h"

#include <QString>

namespace wf {

// Writes M.LamStart (rate per 1000 h at T0, 200 h when T0 is 0), M.Lam1000 (at 1000 h or at
// the last failure when earlier) and M.SKO_out. Same input, same output: it starts afresh.
// One failure gives SKO_out = sqrt(s) (divisor n - 1 taken as 1); no failures give 0.
void Harakt_Modeli(const AnalysisState& s, Mod_Weib& M, double T0);

// The log line with the 95 % confidence half-width and the SD of the histogram against the
// model. M is a copy: the caller's record does not change.
QString Dover_Interval(const AnalysisState& s, Mod_Weib M);

// Kolmogorov criterion sqrt(n) * D of the model against the failure times; also written to
// KolmCrt, with the verdict at significance 0.05. With no failures, or no failures besides
// "Брак" (Kol_Otk_Bez_Braka <= 0), there is nothing to compare: 0 and the verdict for 0.
double Krit_Kolmogorova(const AnalysisState& s, double K, double A, double B, double Sred,
                        double SKO, double& KolmCrt, QString& Verdict);

// The criterion the results table shows for a model record, from its own K, A, B, Sred and
// SKO; the verdict too when asked. Every place that reports it calls this.
double shownKolmogorov(const AnalysisState& s, const Mod_Weib& m, QString* verdict = nullptr);

} // namespace wf
