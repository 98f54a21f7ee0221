#include "genetic/encoding.h"

#include "analysis/search_point.h"

#include "stats/model_arrays.h"

#include <cfenv>
#include <cmath>
#include <limits>

namespace wf {

long long roundEven(long double v) {
    if (std::isnan(v)) return 0;
    constexpr long double lim = 9.2e18L;
    if (v >= lim) return std::numeric_limits<long long>::max();
    if (v <= -lim) return std::numeric_limits<long long>::min();
    // The default rounding mode sends halves to the even neighbour.
    return static_cast<long long>(std::nearbyint(v));
}

int KolBit(long long n) {
    int bits = 0;
    while (n >= 1) {
        n /= 2;
        ++bits;
    }
    return bits;
}

QString IntToBin(int L, long long n) {
    QString s(L > 0 ? L : 0, QLatin1Char('0'));
    for (int i = 0; i < L; ++i) {
        const int bit = L - 1 - i;
        if (bit < 64 && ((static_cast<unsigned long long>(n) >> bit) & 1u)) s[i] = QLatin1Char('1');
    }
    return s;
}

long long BinToInt(const QString& s) {
    unsigned long long n = 0;
    for (QChar c : s) n = (n << 1) | (c == QLatin1Char('1') ? 1u : 0u);
    return static_cast<long long>(n);
}

int geneBits(long double Tochnost) {
    if (!(Tochnost > 0)) return 0;
    const long double inv = 1.0L / Tochnost;
    if (!std::isfinite(inv) || inv > 9.0e18L) return 64;
    return KolBit(roundEven(inv));
}

int geneCount(bool Podbor_Sred, bool Podbor_SKO) {
    return 3 + (Podbor_Sred ? 1 : 0) + (Podbor_SKO ? 1 : 0);
}

std::array<double, 5> geneSteps(long double Tochnost, int Kol_Genov) {
    std::array<double, 5> g{};
    for (int k = 0; k < Kol_Genov && k < kMaxGenes; ++k)
        g[k] = static_cast<double>(static_cast<long double>(Gen_Min[k] + Gen_Diap[k]) * Tochnost);
    return g;
}

QString chromosomeText(const Xromosome& x, const GeneLayout& g) {
    QString s;
    s.reserve(g.length());
    for (int k = 0; k < g.Kol_Genov; ++k) s += IntToBin(g.L, x.sX[k]);
    return s;
}

Xromosome chromosomeFromText(const QString& s, const GeneLayout& g) {
    Xromosome x;
    for (int k = 0; k < g.Kol_Genov; ++k)
        x.sX[k] = static_cast<std::uint32_t>(BinToInt(s.mid(k * g.L, g.L)) & g.mask());
    return x;
}

Xromosome crossChromosomes(const Xromosome& a, const Xromosome& b, const GeneLayout& g, int cut) {
    Xromosome c;
    const std::uint32_t full = g.mask();
    for (int k = 0; k < g.Kol_Genov; ++k) {
        const int start = k * g.L; // characters before this gene
        const int fromA = cut - start;
        if (fromA >= g.L) {
            c.sX[k] = a.sX[k];
        } else if (fromA <= 0) {
            c.sX[k] = b.sX[k];
        } else {
            // The first fromA characters are the high bits of the field.
            const std::uint32_t low = (1u << (g.L - fromA)) - 1u;
            c.sX[k] = ((a.sX[k] & ~low) | (b.sX[k] & low)) & full;
        }
    }
    return c;
}

void flipCharacter(Xromosome& x, const GeneLayout& g, int pos) {
    if (pos < 1 || pos > g.length()) return;
    const int k = (pos - 1) / g.L;
    const int charInGene = (pos - 1) % g.L;
    x.sX[k] ^= 1u << (g.L - 1 - charInGene);
}

std::array<double, 5> DecodeXrome(const Xromosome& x, const GeneLayout& g,
                                  const std::array<double, 5>& Gen_Shag) {
    std::array<double, 5> p{};
    for (int k = 0; k < g.Kol_Genov; ++k)
        p[k] = std::fabs(static_cast<double>(x.sX[k]) * Gen_Shag[k]);
    return p;
}

std::uint32_t encodeGene(double v, double grain, const GeneLayout& g) {
    const long long n = roundEven(v / grain);
    return static_cast<std::uint32_t>(static_cast<unsigned long long>(n) & g.mask());
}

double Celev_Gen(const AnalysisState& s, Mod_Weib& M, double A, double B, double K, double Sred,
                 double SKO) {
    const std::size_t n = s.Hist.size();
    if (M.F_Weib.size() < n || M.F_norm.size() < n || M.Kol_F_priv.size() < n) M.resizeArrays(n);
    fillIntervalArrays(s, M, {A, B, K, Sred, SKO}, flow::Step::AsIs);
    M.Kol_Nakopl = 0;
    double D = 0;
    for (std::size_t j = 0; j < n; ++j) {
        const double m = M.Kol_F_priv[j];
        M.Kol_Nakopl += m;
        const double d = s.Hist[j].Sum - m;
        D += d * d;
    }
    const double Notk = s.Kol_Otk_Bez_Braka;
    if (s.Kol_Otk_Bez_Braka <= 0) {
        M.SKO_out = std::numeric_limits<double>::quiet_NaN();
        return std::numeric_limits<double>::quiet_NaN();
    }
    M.SKO_out = std::sqrt(D) / Notk;
    const double t = Notk - M.Kol_Nakopl;
    return D + t * t;
}

double Celev_Gen_Par(const AnalysisState& s, Mod_Weib& M, const std::array<double, 5>& Gen_Par) {
    const WeibullParams p = weibullAt(Gen_Par.data());
    const WarrantyValues w = warrantyAt(s, Gen_Par.data());
    return Celev_Gen(s, M, p.A, p.B, p.K, w.mean, w.sd);
}

int SravnCelev(double a, double b) {
    if (a < b) return -1;
    if (a > b) return 1;
    return 0;
}

} // namespace wf
