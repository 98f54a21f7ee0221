#pragma once
// What a calculation run hands back instead of its working copy of the state: each field
// the run may write, present only where the run left it different from how it started.

#include "analysis/state.h"

#include <QString>

#include <cstdint>
#include <optional>

namespace wf {

struct CalcWrites {
    // Stored from the fields (Sred_Gar and SKO_Gar also as a fit searched them).
    std::optional<double> Sred_Gar, SKO_Gar, T_Prirab;
    // The input check and the flags.
    std::optional<QString> Put_Fajla;
    std::optional<bool> Podbor_Sred, Podbor_SKO;
    // The histogram.
    std::optional<Hist40> Hist;
    std::optional<int> Shag_Nach, Shag_Dal;
    // The fitted records.
    std::optional<Mod_Weib> ModSpir, ModNewton, ModSmirnov, ModMLE;
    std::optional<LikelihoodDetail> ModMLE_Detail;
    // The fit clock.
    std::optional<std::int64_t> T_Start_us, T_Dlit_us;
    std::optional<std::uint16_t> Chas, Minut, Sek, MSek;

    // Every field above as `s` holds it.
    static CalcWrites of(const AnalysisState& s);
    // Only those of `s` that differ from `before` (a number's bits, a record's fields).
    static CalcWrites changed(const CalcWrites& before, const AnalysisState& s);
};

// Writes the present fields into `s`; the rest of it stays as it is.
void applyCalcWrites(AnalysisState& s, const CalcWrites& w);

} // namespace wf
