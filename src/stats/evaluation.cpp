#include "stats/evaluation.h"

#include "core/distributions.h"
#include "core/interval_flow.h"
#include "format/messages.h"
#include "format/number_format.h"

#include <algorithm>
#include <cmath>

namespace wf {

void Harakt_Modeli(const AnalysisState& s, Mod_Weib& M, double T0) {
    if (T0 == 0) T0 = 200;
    M.LamStart = Weib_Plotn(M.A, M.B, T0) * 1000 * M.K_powtor;
    const auto& otk = s.Otkazy;
    const std::size_t n = otk.size();
    // Without failures the rate is taken at 1000 h.
    const double tRate = (n == 0 || otk[n - 1].time > 1000) ? 1000.0 : otk[n - 1].time;
    M.Lam1000 = Weib_Plotn(M.A, M.B, tRate) * 1000 * M.K_powtor;

    const flow::Law law{M.A, M.B, M.K_powtor, M.Sred, M.SKO};
    double sum = 0, E = 0, tPrev = 0;
    for (std::size_t i = 0; i < n; ++i) {
        const double t = otk[i].time;
        E += flow::intervalAtMiddle(law, s.Park, tPrev, t, flow::Step::AsIs).Kol_F_priv;
        const double d = static_cast<double>(i + 1) - E;
        sum += d * d;
        tPrev = t;
    }
    // One failure leaves no degree of freedom; its deviation is reported undivided.
    const double dof = n > 1 ? static_cast<double>(n - 1) : 1.0;
    M.SKO_out = std::sqrt(sum) / dof;
}

QString Dover_Interval(const AnalysisState& s, Mod_Weib M) {
    const auto& h = s.Hist;
    const flow::Law law{M.A, M.B, M.K_powtor, M.Sred, M.SKO};
    double q = 0, tPrev = 0;
    for (const auto& rec : h) {
        const double t = rec.time;
        // The line's formula reads dF * (Park * K) * (1 - Phi); a product of two numbers
        // commutes exactly, so that is (Park * K) * dF to the last bit.
        const double E = flow::intervalAtMiddle(law, s.Park, tPrev, t, flow::Step::AsIs).Kol_F_priv;
        const double d = rec.Sum - E;
        q += d * d;
        tPrev = t;
    }
    const double v = h.empty() ? 0.0 : std::sqrt(q) / static_cast<double>(h.size());
    return msg::confidencePrefix + fmt::format(msg::confidenceFormat, {1.96 * v, v});
}

double Krit_Kolmogorova(const AnalysisState& s, double K, double A, double B, double Sred,
                        double SKO, double& KolmCrt, QString& Verdict) {
    const auto& otk = s.Otkazy;
    const std::size_t n = otk.size();
    KolmCrt = 0;
    if (n > 0 && s.Kol_Otk_Bez_Braka > 0) {
        const double nd = static_cast<double>(n);
        double c = 0, Fp = 0, Dp = 0, Dm = 0;
        for (std::size_t i = 0; i < n; ++i) {
            const double t = otk[i].time;
            const double Fw = Weib_Raspr(A, B, t);
            c += (1 - Norm_Raspr(Sred, SKO, t)) * (Fw - Fp);
            Fp = Fw;
            const double Fm = c * s.Park * K / s.Kol_Otk_Bez_Braka;
            if (t > 0) {
                Dp = std::max(Dp, static_cast<double>(i + 1) / nd - Fm);
                Dm = std::max(Dm, Fm - static_cast<double>(i) / nd);
            }
        }
        const double D = Dp > Dm ? Dp : Dm;
        KolmCrt = std::sqrt(nd) * D;
    }
    Verdict = KolmCrt < 1.3581 ? msg::kolmogorovAccepted : msg::kolmogorovRejected;
    return KolmCrt;
}

double shownKolmogorov(const AnalysisState& s, const Mod_Weib& m, QString* verdict) {
    double kolmCrt = 0;
    QString v;
    Krit_Kolmogorova(s, m.K_powtor, m.A, m.B, m.Sred, m.SKO, kolmCrt, v);
    if (verdict) *verdict = v;
    return kolmCrt;
}

} // namespace wf
