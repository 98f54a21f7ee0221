#include "cli/commands.h"
#include "cli/data_files.h"
#include "cli/json_out.h"
#include "cli/text_out.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/histogram.h"
#include "stats/pearson.h"

namespace wf::cli {

int runEvaluate(const EvaluateOptions& o) {
    AnalysisState s;
    if (!loadWithHistogram(s, o.file)) return kExitDataError;
    s.Sred_Gar = o.mean.value_or(s.Sred_Gar);
    s.SKO_Gar = o.sd.value_or(s.SKO_Gar);
    s.T_Prirab = o.burnIn;

    // The record as a fit leaves it for these parameters.
    Mod_Weib m;
    m.A = o.A;
    m.B = o.B;
    m.K_powtor = o.K;
    m.Sred = s.Sred_Gar;
    m.SKO = s.SKO_Gar;
    m.resizeArrays(s.Hist.size());
    Celev_Pirson(s, m, m.A, m.B, m.K_powtor, m.Sred, m.SKO, 1);
    m.Executed = true;
    Harakt_Modeli(s, m, s.T_Prirab);
    QStringList memo{Dover_Interval(s, m)};
    QString verdict;
    Krit_Kolmogorova(s, m.K_powtor, m.A, m.B, m.Sred, m.SKO, m.KolmCrt, verdict);

    if (o.json) {
        printJson({{"model", modelJson(s, m)}, {"verdict", text(verdict)}, {"memo", texts(memo)}});
        return kExitOk;
    }
    printPairs(
        {{QStringLiteral("A"), numberText(m.A)},
         {QStringLiteral("B"), numberText(m.B)},
         {QStringLiteral("K_powtor"), numberText(m.K_powtor)},
         {QStringLiteral("Sred"), numberText(m.Sred)},
         {QStringLiteral("SKO"), numberText(m.SKO)},
         {QStringLiteral("LamStart"), numberText(m.LamStart)},
         {QStringLiteral("Lam1000"), numberText(m.Lam1000)},
         {QStringLiteral("SKO_out"), numberText(m.SKO_out)},
         {QStringLiteral("KolmCrt"), fmt::format(QStringLiteral("%6.3f"), {m.KolmCrt}) + verdict},
         {QStringLiteral("Kol_Nakopl"), numberText(m.Kol_Nakopl)}});
    out();
    std::vector<std::vector<QString>> rows{{QStringLiteral("time"), QStringLiteral("Sum"),
                                            QStringLiteral("F_Weib"), QStringLiteral("F_norm"),
                                            QStringLiteral("Kol_F_priv")}};
    for (std::size_t k = 0; k < s.Hist.size(); ++k)
        rows.push_back({fmt::general(s.Hist[k].time), QString::number(s.Hist[k].Sum),
                        fmt::fixed(m.F_Weib[k], 0, 6), fmt::fixed(m.F_norm[k], 0, 6),
                        fmt::fixed(m.Kol_F_priv[k], 0, 3)});
    printTable(rows, std::vector<bool>(5, true));
    out();
    out(QStringLiteral("Ход решения"));
    for (const QString& l : memo) out(l);
    return kExitOk;
}

} // namespace wf::cli
