#include "genetic/genetic_run.h"

#include "analysis/search_point.h"
#include "stats/model_arrays.h"

#include "core/distributions.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "genetic/encoding.h"
#include "stats/calculation_run.h"
#include "stats/evaluation.h"
#include "stats/histogram.h"

#include <cmath>

namespace wf {

bool accuracyValid(double accuracy, QString* why) {
    const int bits = geneBits(static_cast<long double>(accuracy));
    if (bits >= 1 && bits <= kMaxGeneBits) return true;
    // Round(1 / accuracy) must lie in 1 .. 2^31 - 1.
    if (why)
        *why = msg::badAccuracy(fmt::general(accuracy), fmt::general(4.66e-10), fmt::general(2));
    return false;
}

GeneticPrep prepareGeneticRun(AnalysisState& s, const GeneticRunSettings& set) {
    GeneticPrep prep;
    QStringList& m = prep.messages;
    // Each check in the run's order; a refusal keeps what was stored before it.
    const auto refuse = [&](const QString& why, std::optional<RunField> about = {}) {
        m << why;
        prep.field = about;
        return prep;
    };
    const FieldError* unread = nullptr;
    const auto unreadable = [&](RunField f) { return (unread = set.unreadableAt(f)) != nullptr; };
    const auto notRead = [&] { return refuse(unread->message, unread->field); };

    if ((unread = storeRunStart(s, set))) return notRead();
    QString why;
    if (!Proverka_Dannyh(s, set.filePath, m)) return prep;
    if (s.Otkazy.empty()) return refuse(msg::noFailuresLoaded);
    // The objective divides by it.
    if (s.Kol_Otk_Bez_Braka <= 0) return refuse(msg::noFailuresToFit);

    s.Podbor_SKO = set.fitSd;
    s.Podbor_Sred = set.fitMean;
    s.Kol_Genov = geneCount(s.Podbor_Sred, s.Podbor_SKO);

    if (unreadable(RunField::Accuracy)) return notRead();
    if (!accuracyValid(set.accuracy, &why)) return refuse(why, RunField::Accuracy);
    s.Tochnost = static_cast<long double>(set.accuracy);
    s.Gen_Shag = geneSteps(s.Tochnost, s.Kol_Genov);

    GeneticSettings& search = prep.settings;
    search.SizePopulation = set.population;
    search.Kol_Pokol = set.generations;
    if (unreadable(RunField::Population)) return notRead();
    if (!search.populationValid(&why)) return refuse(why, RunField::Population);
    if (unreadable(RunField::Generations)) return notRead();
    if (!search.generationsValid(&why)) return refuse(why, RunField::Generations);

    if (!Postr_Gist(s)) return refuse(msg::badFailureTimes);
    s.ModGen.resizeArrays(s.Hist.size());
    s.Kol_Pokol = set.generations;
    prep.end = {};
    return prep;
}

QStringList applyGeneticOutcome(AnalysisState& s, const GeneticOutcome& o) {
    QStringList lines;
    if (!o.ranGenerations) return lines;

    s.Gen_Par_Best = o.Gen_Par_Best;
    s.Best_Celev_F = o.Best_Celev_F;
    s.Gen_Par = s.Gen_Par_Best;
    Mod_Weib& M = s.ModGen;
    // A run that failed before recording any best has searched nothing: its warranty values
    // (left over from an earlier run, or zeros) must not replace the ones in use.
    if (o.Best_Celev_F < kNoObjectiveYet) storeSearchedWarranty(s, s.Gen_Par.data());
    storeFittedModel(s, M, weibullAt(s.Gen_Par.data()));
    lines << Dover_Interval(s, M);
    return lines;
}

} // namespace wf
