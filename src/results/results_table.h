#pragma once
// The results table: one column per executed model, then the operational data.

#include "results/results_data.h"

namespace wf {

// Cell text of the "Данные эксплуатации" row 10 when the burn-in leaves no window
// below 1000 h.
inline const QString kNoRateWindow = QStringLiteral("—");

// Confidence bounds as "[lo … hi]" with `decimals` (0: whole numbers, halves to even), or
// the word for undefined bounds.
QString boundsText(const ConfidenceBounds& b, int decimals);

// Fills r.grid, r.widths and r.dataColumn from the state and r.state's rate and model
// totals; sets r.state's Stolbec_Rez (the data column at the end) and T_Lam_Kon. The models'
// Kolmogorov criterion is shown only; the records keep their KolmCrt.
void fillResultTable(const AnalysisState& s, ResultsData& r, const TextWidthFn& measure);

} // namespace wf
