#pragma once
// What a candidate of the genetic search is: the gene table, the grain of each gene, the
// compact chromosome (one 31-bit field per gene, the bits in the order of the "0"/"1"
// text, most significant first), decoding, the objective and the population order.

#include "analysis/state.h"
#include "core/parameter_domains.h"

#include <QString>

#include <array>
#include <cstdint>

namespace wf {

// Gene slots: [0] B, [1] A, [2] K, [3] the warranty mean (or the SD when only the SD is
// searched), [4] the warranty SD when both are searched. The spans are domain::kGene*.
inline constexpr std::array<double, 5> Gen_Min{domain::kGeneB.lo, domain::kGeneA.lo,
                                               domain::kGeneK.lo, domain::kGeneSred.lo,
                                               domain::kGeneSKO.lo};
inline constexpr std::array<double, 5> Gen_Diap{domain::kGeneB.width, domain::kGeneA.width,
                                                domain::kGeneK.width, domain::kGeneSred.width,
                                                domain::kGeneSKO.width};
inline constexpr int kMaxGenes = 5;
inline constexpr int kMaxGeneBits = 31;

// Nearest integer, halves to the even neighbour, as a 64-bit integer. Values outside the
// 64-bit range saturate; not-a-number gives 0.
long long roundEven(long double v);
// The same for a double, cheap enough for the per-candidate draws: adding and taking away
// 2^52 leaves the nearest integer, ties to even, in the default rounding mode.
inline long long roundEven(double v) {
    constexpr double magic = 4503599627370496.0; // 2^52
    if (!(v > -magic && v < magic)) return roundEven(static_cast<long double>(v));
    const double r = v >= 0 ? (v + magic) - magic : -((-v + magic) - magic);
    return static_cast<long long>(r);
}

// Binary digits of n: how often n can be halved while it is at least 1; 0 below 1.
int KolBit(long long n);
// The L low bits of n as "0"/"1", most significant first.
QString IntToBin(int L, long long n);
// The inverse of IntToBin; any character other than '1' counts as 0.
long long BinToInt(const QString& s);

// Gene length for an accuracy: KolBit(Round(1 / Tochnost)). 0 or more than kMaxGeneBits
// means the accuracy is unusable (0 also for a non-positive accuracy).
int geneBits(long double Tochnost);
// Genes in use: 3, plus one per searched warranty value.
int geneCount(bool Podbor_Sred, bool Podbor_SKO);
// Grain of each gene: (Gen_Min + Gen_Diap) * Tochnost for the genes in use, 0 for the rest.
std::array<double, 5> geneSteps(long double Tochnost, int Kol_Genov);

// One candidate. sX[k] holds gene k's L bits; the text form is the genes' fields one after
// another, each IntToBin(L, sX[k]).
struct Xromosome {
    std::array<std::uint32_t, kMaxGenes> sX{};
    double Celev_F = 0;
    int Pokolenie = 0;
};

// The shape of a chromosome: Kol_Genov genes of L bits each.
struct GeneLayout {
    int L = 24;
    int Kol_Genov = 3;
    int length() const { return L * Kol_Genov; } // LengthXrome, in characters
    std::uint32_t mask() const { return L >= 32 ? 0xffffffffu : ((1u << L) - 1u); }
};

// The "0"/"1" text of a chromosome, and back (characters past the layout are ignored).
QString chromosomeText(const Xromosome& x, const GeneLayout& g);
Xromosome chromosomeFromText(const QString& s, const GeneLayout& g);

// One-point crossover on the text: characters 1..cut of a, then cut+1..length of b.
Xromosome crossChromosomes(const Xromosome& a, const Xromosome& b, const GeneLayout& g, int cut);
// Flips the character at pos (counted from 1). pos outside 1..length is ignored.
void flipCharacter(Xromosome& x, const GeneLayout& g, int pos);

// Gen_Par of a chromosome: |n * grain| per gene in use (no lower bound); the rest stay 0.
std::array<double, 5> DecodeXrome(const Xromosome& x, const GeneLayout& g,
                                  const std::array<double, 5>& Gen_Shag);
// The field of a drawn value: Round(v / grain), its L low bits.
std::uint32_t encodeGene(double v, double grain, const GeneLayout& g);

// The objective for given parameters over s.Hist, s.Park and s.Kol_Otk_Bez_Braka. Fills
// M.F_norm, M.F_Weib, M.Kol_F_priv (grown to the histogram if shorter), M.Kol_Nakopl and
// M.SKO_out. With Kol_Otk_Bez_Braka <= 0 the evaluation cannot be made: SKO_out and the
// result are NaN.
double Celev_Gen(const AnalysisState& s, Mod_Weib& M, double A, double B, double K, double Sred,
                 double SKO);
// The objective of gene values, a search point (analysis/search_point.h): its Weibull
// parameters and the warranty values it stands for. (The engine
// re-seeds its random generator at every use.)
double Celev_Gen_Par(const AnalysisState& s, Mod_Weib& M, const std::array<double, 5>& Gen_Par);

// Population order: -1 when a's objective is lower, +1 when higher, 0 otherwise (equal or
// either not a number).
int SravnCelev(double a, double b);
inline int SravnCelev(const Xromosome& a, const Xromosome& b) {
    return SravnCelev(a.Celev_F, b.Celev_F);
}

} // namespace wf
