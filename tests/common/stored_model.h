#pragma once
// What every fit leaves in its model record once it has stored A, B and K.

#include "analysis/state.h"

#include <gtest/gtest.h>

namespace wf::test {

inline void expectStoredModel(const Mod_Weib& M, double A, double B, double K, double sred,
                              double sko) {
    EXPECT_TRUE(M.Executed);
    EXPECT_EQ(M.A, A);
    EXPECT_EQ(M.B, B);
    EXPECT_EQ(M.K_powtor, K);
    EXPECT_EQ(M.Sred, sred);
    EXPECT_EQ(M.SKO, sko);
    EXPECT_EQ(M.Kol_Nakopl, 0);
    EXPECT_EQ(M.Unsens, 0);
}

} // namespace wf::test
