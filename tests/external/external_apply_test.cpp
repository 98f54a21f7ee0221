// Turning the optimizer's A, B, K into the model ModExt.

#include "external/external_model.h"
#include "stored_model.h"

#include "core/distributions.h"
#include "format/number_format.h"
#include "locale_guard.h"
#include "stats/evaluation.h"
#include "stats/histogram.h"

#include <gtest/gtest.h>

#include <QLocale>

namespace {

wf::AnalysisState smallFleet() {
    wf::AnalysisState s;
    for (int i = 0; i < 40; ++i) {
        wf::Problems p;
        p.time = 60.0 + 37.5 * i;
        p.chey = 2 + i % 3;
        s.Otkazy.push_back(p);
    }
    s.Park = 500;
    s.Kol_All = 500;
    s.Kol_Otk = 41;
    s.Kol_Otk_Bez_Braka = 40;
    s.Sred_Gar = 1500;
    s.SKO_Gar = 400;
    s.T_Prirab = 300;
    return s;
}

using wf::test::LocaleScope;

TEST(ExternalApply, FillsAndEvaluatesModExtAndLogsInOrder) {
    LocaleScope c(QLocale::c());
    wf::AnalysisState s = smallFleet();
    s.ModExt.KolmCrt = 7; // not ours to touch
    const QStringList log = wf::applyExternalModel(s, 1.85, 12000.5, 1.2);

    const wf::Mod_Weib& M = s.ModExt;
    ASSERT_FALSE(s.Hist.empty());
    wf::test::expectStoredModel(M, 1.85, 12000.5, 1.2, 1500, 400);
    EXPECT_EQ(M.KolmCrt, 7);
    ASSERT_EQ(M.F_Weib.size(), s.Hist.size());
    ASSERT_EQ(M.F_norm.size(), s.Hist.size());
    ASSERT_EQ(M.Kol_F_priv.size(), s.Hist.size());
    double prev = 0;
    for (std::size_t j = 0; j < s.Hist.size(); ++j) {
        const double t = s.Hist[j].time;
        EXPECT_EQ(M.F_Weib[j], wf::Weib_Interv(1.85, 12000.5, prev, t));
        EXPECT_EQ(M.F_norm[j], wf::Norm_Raspr(1500, 400, (prev + t) / 2));
        EXPECT_EQ(M.Kol_F_priv[j], 500 * 1.2 * M.F_Weib[j] * (1 - M.F_norm[j]));
        prev = t;
    }
    wf::Mod_Weib again = M;
    wf::Harakt_Modeli(s, again, 300);
    EXPECT_EQ(M.LamStart, again.LamStart);
    EXPECT_EQ(M.Lam1000, again.Lam1000);
    EXPECT_EQ(M.SKO_out, again.SKO_out);

    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[0], wf::Dover_Interval(s, M));
    EXPECT_EQ(log[1], QStringLiteral("Расчёт модели Golang выполнен"));
    EXPECT_EQ(log[2], QStringLiteral("A=     1.850 B= 12000.500 K=     1.200"));
}

TEST(ExternalApply, ParameterLineUsesTheLocaleSeparator) {
    LocaleScope ru(QLocale(QLocale::Russian, QLocale::Russia));
    wf::AnalysisState s = smallFleet();
    const QStringList log = wf::applyExternalModel(s, 1.85, 12000.5, 1.2);
    ASSERT_EQ(log.size(), 3);
    EXPECT_EQ(log[2], QStringLiteral("A=     1,850 B= 12000,500 K=     1,200"));
}

TEST(ExternalApply, UsesTheStateWarrantyValuesAndBurnIn) {
    wf::AnalysisState s = smallFleet();
    s.Sred_Gar = 900;
    s.SKO_Gar = 150;
    s.T_Prirab = 0; // evaluation takes 200 h for a zero burn-in
    wf::applyExternalModel(s, 1.1, 2000, 0.4);
    EXPECT_EQ(s.ModExt.Sred, 900);
    EXPECT_EQ(s.ModExt.SKO, 150);
    EXPECT_EQ(s.ModExt.LamStart, wf::Weib_Plotn(1.1, 2000, 200) * 1000 * 0.4);
}

TEST(ExternalApply, NoFailuresLeavesEverythingAsItWas) {
    wf::AnalysisState s;
    s.Hist.resize(3);
    s.Hist[2].time = 77;
    s.ModExt.A = 5;
    const QStringList log = wf::applyExternalModel(s, 1, 2, 3);
    EXPECT_TRUE(log.isEmpty());
    EXPECT_EQ(s.Hist.size(), 3u);
    EXPECT_EQ(s.Hist[2].time, 77);
    EXPECT_EQ(s.ModExt.A, 5);
    EXPECT_FALSE(s.ModExt.Executed);
}

} // namespace
