#include "fleets.h"
#include "genetic/encoding.h"
#include "genetic/genetic_objective.h"

#include "core/distributions.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>

namespace wf {
namespace {

TEST(GeneBits, KolBitCountsBinaryDigits) {
    EXPECT_EQ(KolBit(0), 0);
    EXPECT_EQ(KolBit(-5), 0);
    EXPECT_EQ(KolBit(1), 1);
    EXPECT_EQ(KolBit(2), 2);
    EXPECT_EQ(KolBit(255), 8);
    EXPECT_EQ(KolBit(256), 9);
    EXPECT_EQ(KolBit(10000000), 24);
    EXPECT_EQ(KolBit(5000000), 23);
}

TEST(GeneBits, AccuracyGivesGeneLength) {
    EXPECT_EQ(geneBits(1e-7L), 24);
    EXPECT_EQ(geneBits(2e-7L), 23);
    EXPECT_EQ(geneBits(1.9L), 1); // Round(0.526) = 1
    EXPECT_EQ(geneBits(2.0L), 0); // Round(0.5) = 0, the even neighbour
    EXPECT_EQ(geneBits(0.0L), 0);
    EXPECT_EQ(geneBits(-1e-7L), 0);
    EXPECT_EQ(geneBits(4.7e-10L), 31);
    EXPECT_GT(geneBits(4.6e-10L), kMaxGeneBits);
    EXPECT_GT(geneBits(1e-300L), kMaxGeneBits);
}

TEST(GeneBits, LayoutLengths) {
    EXPECT_EQ((GeneLayout{geneBits(1e-7L), geneCount(false, false)}.length()), 72);
    EXPECT_EQ((GeneLayout{geneBits(1e-7L), geneCount(true, true)}.length()), 120);
    EXPECT_EQ(geneCount(true, false), 4);
    EXPECT_EQ(geneCount(false, true), 4);
}

TEST(GeneBits, RoundEvenSendsHalvesToEven) {
    EXPECT_EQ(roundEven(0.5L), 0);
    EXPECT_EQ(roundEven(1.5L), 2);
    EXPECT_EQ(roundEven(2.5L), 2);
    EXPECT_EQ(roundEven(-0.5L), 0);
    EXPECT_EQ(roundEven(1.875L), 2);
    EXPECT_EQ(roundEven(1e30L), std::numeric_limits<long long>::max());
    // The double form must agree with the long double one everywhere.
    for (double v : {0.5, 1.5, 2.5, -0.5, -1.5, -2.5, 1.875, 0.49999999999999994, 3000 * 0.5446,
                     4503599627370495.5, 4503599627370497.0, -7e15, 1e30, -1e30}) {
        EXPECT_EQ(roundEven(v), roundEven(static_cast<long double>(v))) << v;
    }
    EXPECT_EQ(roundEven(std::nan("")), 0);
}

TEST(BinaryText, IntToBinAndBack) {
    const QString s = IntToBin(24, 10000000);
    EXPECT_EQ(s.size(), 24);
    EXPECT_TRUE(s.startsWith(QStringLiteral("1001")));
    EXPECT_EQ(s, QStringLiteral("100110001001011010000000"));
    EXPECT_EQ(BinToInt(s), 10000000);
    EXPECT_EQ(IntToBin(24, 0), QString(24, QLatin1Char('0')));
    EXPECT_EQ(IntToBin(3, 13), QStringLiteral("101")); // only the low bits
    EXPECT_EQ(BinToInt(QStringLiteral("1x01")), 9);    // anything but '1' is 0
    EXPECT_EQ(BinToInt(QString()), 0);
}

TEST(Chromosome, TextRoundTrip) {
    const GeneLayout g{24, 5};
    Xromosome x;
    x.sX = {1u, 0xffffffu, 10000000u, 0u, 123456u};
    const QString text = chromosomeText(x, g);
    EXPECT_EQ(text.size(), 120);
    EXPECT_EQ(text.mid(24, 24), QString(24, QLatin1Char('1')));
    EXPECT_EQ(chromosomeFromText(text, g).sX, x.sX);
}

TEST(Chromosome, AllOnesDecodesAboveTheCreationRange) {
    const GeneLayout g{24, 3};
    const auto shag = geneSteps(1e-7L, 3);
    const Xromosome x = chromosomeFromText(QString(72, QLatin1Char('1')), g);
    const auto p = DecodeXrome(x, g, shag);
    for (int k = 0; k < 3; ++k) {
        EXPECT_DOUBLE_EQ(p[k], 16777215.0 * shag[k]);
        EXPECT_GT(p[k], Gen_Min[k] + Gen_Diap[k]);
    }
    EXPECT_DOUBLE_EQ(p[0], 16777215.0 * 0.0040001); // about 1.68 times the upper end
    EXPECT_EQ(p[3], 0.0);
    const Xromosome zero;
    EXPECT_EQ(DecodeXrome(zero, g, shag)[1], 0.0); // no lower bound
}

TEST(Chromosome, GrainsAtTheDefaultAccuracy) {
    const auto shag = geneSteps(1e-7L, 5);
    EXPECT_NEAR(shag[0], 0.0040001, 1e-15); // products of exact decimals, last-bit noise only
    EXPECT_NEAR(shag[1], 3.1e-7, 1e-19);
    EXPECT_NEAR(shag[2], 2.05e-6, 1e-18);
    EXPECT_NEAR(shag[3], 5.08e-4, 1e-16);
    EXPECT_NEAR(shag[4], 1.03e-4, 1e-16);
    EXPECT_EQ(geneSteps(1e-7L, 3)[3], 0.0);
}

TEST(Chromosome, EncodingFitsTheField) {
    for (long double acc : {1e-7L, 2e-7L, 4.7e-10L, 0.3L}) {
        const GeneLayout g{geneBits(acc), 5};
        const auto shag = geneSteps(acc, 5);
        for (int k = 0; k < 5; ++k) {
            const double top = std::nextafter(Gen_Min[k] + Gen_Diap[k], 0.0);
            const std::uint32_t n = encodeGene(top, shag[k], g);
            EXPECT_EQ(static_cast<long long>(n),
                      roundEven(static_cast<long double>(top / shag[k])));
            EXPECT_LE(n, g.mask());
        }
    }
}

// The compact forms must mean exactly what the text forms mean.
TEST(Chromosome, CrossoverAndFlipMatchTheText) {
    std::mt19937_64 gen(7);
    for (int L : {1, 5, 23, 24, 31}) {
        for (int genes : {3, 4, 5}) {
            const GeneLayout g{L, genes};
            Xromosome a, b;
            for (int k = 0; k < genes; ++k) {
                a.sX[k] = static_cast<std::uint32_t>(gen()) & g.mask();
                b.sX[k] = static_cast<std::uint32_t>(gen()) & g.mask();
            }
            const QString ta = chromosomeText(a, g);
            const QString tb = chromosomeText(b, g);
            for (int cut = 1; cut < g.length(); ++cut) {
                const QString expected = ta.left(cut) + tb.mid(cut);
                EXPECT_EQ(chromosomeText(crossChromosomes(a, b, g, cut), g), expected)
                    << "L=" << L << " cut=" << cut;
            }
            for (int pos = 1; pos <= g.length(); ++pos) {
                Xromosome x = a;
                flipCharacter(x, g, pos);
                QString t = ta;
                t[pos - 1] = t[pos - 1] == QLatin1Char('0') ? QLatin1Char('1') : QLatin1Char('0');
                EXPECT_EQ(chromosomeText(x, g), t) << "L=" << L << " pos=" << pos;
            }
        }
    }
}

TEST(Order, SravnCelev) {
    EXPECT_EQ(SravnCelev(3.0, 5.0), -1);
    EXPECT_EQ(SravnCelev(5.0, 3.0), 1);
    EXPECT_EQ(SravnCelev(4.0, 4.0), 0);
    EXPECT_EQ(SravnCelev(std::nan(""), 1.0), 0);
    EXPECT_EQ(SravnCelev(1.0, std::nan("")), 0);
    Xromosome a, b;
    a.Celev_F = 3;
    b.Celev_F = 5;
    EXPECT_EQ(SravnCelev(a, b), -1);
}

AnalysisState oneInterval() {
    AnalysisState s;
    Hist_Rec h;
    h.time = 800;
    h.Sum = 7;
    s.Hist = {h};
    s.Park = 200;
    s.Kol_Otk_Bez_Braka = 9;
    s.Sred_Gar = 1000;
    s.SKO_Gar = 300;
    return s;
}

TEST(Objective, OneIntervalHistogram) {
    const AnalysisState s = oneInterval();
    Mod_Weib M;
    const double A = 1.3, B = 3000, K = 0.8, Sred = 1000, SKO = 300;
    const double v = Celev_Gen(s, M, A, B, K, Sred, SKO);
    const double Fn = Norm_Raspr(Sred, SKO, 400);
    const double m0 = 200 * K * Weib_Interv(A, B, 0, 800) * (1 - Fn);
    ASSERT_EQ(M.F_norm.size(), 1u);
    EXPECT_EQ(M.F_norm[0], Fn);
    EXPECT_EQ(M.F_Weib[0], Weib_Interv(A, B, 0, 800));
    EXPECT_EQ(M.Kol_F_priv[0], m0);
    EXPECT_EQ(M.Kol_Nakopl, m0);
    EXPECT_DOUBLE_EQ(M.SKO_out, std::fabs(7 - m0) / 9);
    EXPECT_DOUBLE_EQ(v, (7 - m0) * (7 - m0) + (9 - m0) * (9 - m0));
}

TEST(Objective, NoFailuresBesidesDefectsCannotBeEvaluated) {
    AnalysisState s = oneInterval();
    s.Kol_Otk_Bez_Braka = 0;
    Mod_Weib M;
    EXPECT_TRUE(std::isnan(Celev_Gen(s, M, 1, 1000, 1, 1000, 300)));
    EXPECT_TRUE(std::isnan(M.SKO_out));
    const GeneticObjective fast(s);
    auto w = fast.scratch();
    EXPECT_TRUE(std::isnan(fast({1000, 1, 1, 0, 0}, w)));
}

TEST(Objective, FlagTableChoosesMeanAndSD) {
    AnalysisState s = test::fleetOf();
    Mod_Weib M;
    const std::array<double, 5> p{2400, 1.3, 0.7, 1700, 350};
    s.Podbor_Sred = s.Podbor_SKO = false;
    EXPECT_EQ(Celev_Gen_Par(s, M, p), Celev_Gen(s, M, 1.3, 2400, 0.7, s.Sred_Gar, s.SKO_Gar));
    s.Podbor_Sred = true;
    EXPECT_EQ(Celev_Gen_Par(s, M, p), Celev_Gen(s, M, 1.3, 2400, 0.7, 1700, s.SKO_Gar));
    s.Podbor_SKO = true;
    EXPECT_EQ(Celev_Gen_Par(s, M, p), Celev_Gen(s, M, 1.3, 2400, 0.7, 1700, 350));
    // Only the SD searched: gene 4 is the SD, with row 4's range and grain.
    s.Podbor_Sred = false;
    EXPECT_EQ(Celev_Gen_Par(s, M, p), Celev_Gen(s, M, 1.3, 2400, 0.7, s.Sred_Gar, 1700));
    EXPECT_EQ(geneCount(false, true), 4);
    EXPECT_DOUBLE_EQ(geneSteps(1e-7L, 4)[3], 5080 * 1e-7);
}

// The run's fast objective must give Celev_Gen_Par's numbers to the last bit.
TEST(Objective, FastFormIsBitIdentical) {
    AnalysisState s = test::fleetOf();
    ASSERT_GT(s.Hist.size(), 7u);
    std::mt19937_64 gen(11);
    std::uniform_real_distribution<double> u(0, 1);
    for (int flags = 0; flags < 4; ++flags) {
        s.Podbor_Sred = flags & 1;
        s.Podbor_SKO = flags & 2;
        const GeneticObjective fast(s);
        auto w = fast.scratch();
        Mod_Weib M;
        for (int i = 0; i < 200; ++i) {
            std::array<double, 5> p{};
            for (int k = 0; k < 5; ++k) p[k] = u(gen) * 1.7 * (Gen_Min[k] + Gen_Diap[k]);
            if (i == 0) p = {0, 0, 0, 0, 0}; // the decoded all-zero chromosome
            EXPECT_EQ(fast(p, w), Celev_Gen_Par(s, M, p)) << "flags " << flags << " i " << i;
        }
    }
}

} // namespace
} // namespace wf
