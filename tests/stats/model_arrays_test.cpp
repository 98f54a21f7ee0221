#include "stats/model_arrays.h"

#include "core/distributions.h"

#include <gtest/gtest.h>

namespace wf {
namespace {

AnalysisState twoIntervals() {
    AnalysisState s;
    s.Park = 200;
    s.Hist.resize(2);
    s.Hist[0].time = 100;
    s.Hist[1].time = 300;
    return s;
}

TEST(ModelArrays, FollowTheSharedRuleAndKeepElementsPastTheHistogram) {
    AnalysisState s = twoIntervals();
    Mod_Weib M;
    M.A = 1.4;
    M.B = 900;
    M.K_powtor = 2.5;
    M.Sred = 250;
    M.SKO = 80;
    M.F_norm = {7, 7, 7, 42}; // per-failure values beyond the intervals stay (model 2)
    fillModelArrays(s, M);
    ASSERT_EQ(M.F_Weib.size(), 2u);
    EXPECT_EQ(M.F_Weib[1], Weib_Interv(1.4, 900, 100, 300));
    EXPECT_EQ(M.F_norm[0], Norm_Raspr(250, 80, 50));
    EXPECT_EQ(M.F_norm[1], Norm_Raspr(250, 80, 200));
    EXPECT_EQ(M.F_norm[3], 42);
    EXPECT_EQ(M.Kol_F_priv[1], 200 * 2.5 * M.F_Weib[1] * (1 - M.F_norm[1]));
}

} // namespace
} // namespace wf
