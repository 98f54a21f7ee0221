#include "stats/calculation_writes.h"

#include <bit>
#include <type_traits>

namespace wf {

namespace {

// The one list of the fields: `f(slot, member)` for each.
template <class Writes, class F> void eachField(Writes& w, F&& f) {
    f(w.Sred_Gar, &AnalysisState::Sred_Gar);
    f(w.SKO_Gar, &AnalysisState::SKO_Gar);
    f(w.T_Prirab, &AnalysisState::T_Prirab);
    f(w.Put_Fajla, &AnalysisState::Put_Fajla);
    f(w.Podbor_Sred, &AnalysisState::Podbor_Sred);
    f(w.Podbor_SKO, &AnalysisState::Podbor_SKO);
    f(w.Hist, &AnalysisState::Hist);
    f(w.Shag_Nach, &AnalysisState::Shag_Nach);
    f(w.Shag_Dal, &AnalysisState::Shag_Dal);
    f(w.ModSpir, &AnalysisState::ModSpir);
    f(w.ModNewton, &AnalysisState::ModNewton);
    f(w.ModSmirnov, &AnalysisState::ModSmirnov);
    f(w.ModMLE, &AnalysisState::ModMLE);
    f(w.ModMLE_Detail, &AnalysisState::ModMLE_Detail);
    f(w.T_Start_us, &AnalysisState::T_Start_us);
    f(w.T_Dlit_us, &AnalysisState::T_Dlit_us);
    f(w.Chas, &AnalysisState::Chas);
    f(w.Minut, &AnalysisState::Minut);
    f(w.Sek, &AnalysisState::Sek);
    f(w.MSek, &AnalysisState::MSek);
}

// A stored number counts as changed down to its bits, so -0 over 0 is written too.
template <class T> bool same(const T& a, const T& b) {
    if constexpr (std::is_same_v<T, double>)
        return std::bit_cast<std::uint64_t>(a) == std::bit_cast<std::uint64_t>(b);
    else
        return a == b;
}

} // namespace

CalcWrites CalcWrites::of(const AnalysisState& s) {
    CalcWrites w;
    eachField(w, [&](auto& slot, auto member) { slot = s.*member; });
    return w;
}

CalcWrites CalcWrites::changed(const CalcWrites& before, const AnalysisState& s) {
    CalcWrites w = before;
    eachField(w, [&](auto& slot, auto member) {
        if (slot && same(*slot, s.*member))
            slot.reset();
        else
            slot = s.*member;
    });
    return w;
}

void applyCalcWrites(AnalysisState& s, const CalcWrites& w) {
    eachField(w, [&](const auto& slot, auto member) {
        if (slot) s.*member = *slot;
    });
}

} // namespace wf
