// The bundled sample files load as their generator describes them.
#include "analysis/failure_file.h"
#include "analysis/warranty_file.h"
#include "files.h"

#include <QFile>

#include <gtest/gtest.h>

#include <cmath>

namespace wf {
namespace {

TEST(SampleData, FleetFileLoads) {
    QFile f(test::samplePath(QStringLiteral("sample_fleet.txt")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    AnalysisState s;
    const LoadResult r = parseFailureFile(s, f.readAll(), f.fileName());
    ASSERT_TRUE(r.end.done());
    EXPECT_TRUE(r.messages.isEmpty());
    EXPECT_EQ(s.Otkazy.size(), 569u);
    EXPECT_EQ(s.Kol_Prich, 13);
    EXPECT_EQ(s.Park, 400);
    EXPECT_EQ(s.Kol_Otk_Bez_Braka, 563);
    EXPECT_EQ(s.Vidy_Otk_Sort[0].Dolya, 6);
    EXPECT_GT(s.Vidy_Otk_Sort[1].Dolya, 0); // texts naming no listed cause
    for (std::size_t k = 3; k < s.Vidy_Otk_Sort.size(); ++k)
        EXPECT_GE(s.Vidy_Otk_Sort[k - 1].Dolya, s.Vidy_Otk_Sort[k].Dolya);
    // More failures than products: the fits' repeat coefficient starts inside its bounds.
    EXPECT_GT(s.Kol_Otk / s.Kol_All, 1.01);
    EXPECT_TRUE(s.Line_Defined);
    EXPECT_GT(s.T10, 0);
    EXPECT_GT(s.Otk_2000, 0);
    EXPECT_EQ(r.fields.generations, QStringLiteral("2000"));
}

TEST(SampleData, WarrantyFileMatchesItsLaw) {
    AnalysisState s;
    const WarrantyResult r =
        ReadWarrantyFile(s, test::samplePath(QStringLiteral("gar_sample.txt")));
    ASSERT_TRUE(r.end.done());
    EXPECT_EQ(r.count, 300);
    // 300 draws of N(3000, 800): the generator printed these sample values.
    EXPECT_NEAR(s.Sred_Gar, 3013.9693, 1e-3);
    EXPECT_NEAR(s.SKO_Gar, 841.8335, 1e-3);
}

} // namespace
} // namespace wf
