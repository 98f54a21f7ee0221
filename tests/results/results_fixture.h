#pragma once
// A small hand-made analysis state for the results output: three failures, two causes
// with failures and one without, a histogram with one empty interval in the middle.

#include "analysis/state.h"
#include "locale_guard.h"
#include "results/results_data.h"

#include <gtest/gtest.h>

namespace wf::test {

inline Mod_Weib executedModel(double A, double B, double K) {
    Mod_Weib m;
    m.A = A;
    m.B = B;
    m.K_powtor = K;
    m.Sred = 2000;
    m.SKO = 300;
    m.SKO_out = 0.5;
    m.LamStart = 0.25;
    m.Lam1000 = 0.125;
    m.F_Weib = {0.1, 0.2, 0.3};
    m.Kol_F_priv = {1, 2, 3};
    m.F_norm = {0, 0, 0};
    m.Executed = true;
    return m;
}

inline AnalysisState smallFleet() {
    AnalysisState s;
    s.Kommentarij = QStringLiteral("Парк А");
    s.Kol_All = 100;
    s.Park = 100;
    // Nobody leaves warranty in this fleet's lifetime: every share is the 1e-12 floor.
    s.Sred_Gar = 1e6;
    s.SKO_Gar = 1;
    s.Vidy_Otk_Sort = {{QStringLiteral("Брак"), 0},
                       {QStringLiteral("Другие"), 1},
                       {QStringLiteral("Насос"), 2},
                       {QStringLiteral("Датчик"), 0}};
    s.Vidy_Otk = s.Vidy_Otk_Sort;
    s.Kol_Prich = 3;
    s.Otkazy = {{50, 2, {}, {}}, {250, 1, {}, {}}, {280, 2, {}, {}}};
    s.Kol_Otk = 4;
    s.Kol_Otk_Bez_Braka = 3;
    s.N_Perv_Otk = 0;
    s.Dannye_Gotovy = true;
    s.T10 = 120.5;
    s.T50_Nabl = s.T50_Cens = 2500;
    s.Otk_2000 = 0.1234;
    s.Naklon_LN = 1;
    s.Sdvig_LN = 0;
    s.Line_Defined = true;
    Hist_Rec h0, h1, h2;
    h0.time = 100;
    h0.Npr[2] = 1;
    h0.Sum = 1;
    h1.time = 200;
    h2.time = 300;
    h2.Npr[1] = 1;
    h2.Npr[2] = 1;
    h2.Sum = 2;
    s.Hist = {h0, h1, h2};
    return s;
}

// The results step as the window runs it: computed, then stored into the state.
inline ResultsData showAndStore(AnalysisState& s, double burnIn, const TextWidthFn& measure = {}) {
    ResultsData r = ShowResults(s, burnIn, measure);
    storeResults(s, r);
    return r;
}

// Columns of the grid as seen by a reader: [column][row].
inline const QString& cell(const ResultsData& r, int col, int row) {
    return r.grid[static_cast<std::size_t>(col)][static_cast<std::size_t>(row)];
}

// Point decimal separator unless a test asks for another locale.
class ResultsTest : public ::testing::Test {
    LocaleScope point_{pointLocale()};
};

} // namespace wf::test
