#include "genetic/genetic_run.h"

#include "stats/model_arrays.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "genetic/encoding.h"
#include "stats/calculation_run.h"
#include "stats/core/distributions.h"
#include "stats/evaluation.h"
#include "stats/histogram.h"

#include <cmath>

namespace wf {
namespace {

inline constexpr int kMinPopulation = 10; // Mutation never touches the 8 best and the last
inline constexpr int kMaxPopulation = 1000000;

bool toNumber(const QString& text, double& into, QStringList& messages) {
    const std::optional<double> v = fmt::parseNumber(text);
    if (!v) {
        messages << msg::notANumber(text);
        return false;
    }
    into = *v;
    return true;
}

bool toInteger(const QString& text, int& into, QStringList& messages) {
    const std::optional<int> v = fmt::parseInt(text);
    if (!v) {
        messages << msg::notAnInteger(text);
        return false;
    }
    into = *v;
    return true;
}

} // namespace

GeneticPrep prepareGeneticRun(AnalysisState& s, const GeneticFields& f) {
    GeneticPrep prep;
    QStringList& m = prep.messages;

    if (!toNumber(f.warrantyMean, s.Sred_Gar, m) || !toNumber(f.warrantySd, s.SKO_Gar, m))
        return prep;
    double period = 0;
    if (!toNumber(f.countingPeriod, period, m) || !toNumber(f.burnIn, s.T_Prirab, m)) return prep;

    if (!Proverka_Dannyh(s, f.filePath, m)) return prep;
    if (s.Otkazy.empty()) {
        m << msg::noFailuresLoaded;
        return prep;
    }
    if (s.Kol_Otk_Bez_Braka <= 0) { // the objective divides by it
        m << msg::noFailuresToFit;
        return prep;
    }

    s.Podbor_SKO = f.fitSd;
    s.Podbor_Sred = f.fitMean;
    s.Kol_Genov = geneCount(s.Podbor_Sred, s.Podbor_SKO);

    double accuracy = 0;
    if (!toNumber(f.accuracy, accuracy, m)) return prep;
    const int bits = geneBits(static_cast<long double>(accuracy));
    if (bits < 1 || bits > kMaxGeneBits) {
        // Round(1 / accuracy) must lie in 1 .. 2^31 - 1.
        m << msg::badAccuracy(f.accuracy, fmt::general(4.66e-10), fmt::general(2));
        return prep;
    }
    s.Tochnost = static_cast<long double>(accuracy);
    s.Gen_Shag = geneSteps(s.Tochnost, s.Kol_Genov);

    int population = 0;
    if (!toInteger(f.population, population, m)) return prep;
    if (population < kMinPopulation || population > kMaxPopulation) {
        m << msg::badPopulation(f.population, kMinPopulation, kMaxPopulation);
        return prep;
    }
    int generations = 0;
    if (!toInteger(f.generations, generations, m)) return prep;
    if (generations < 1) { // the schedule divides by it
        m << msg::badGenerations(f.generations);
        return prep;
    }

    if (!Postr_Gist(s)) {
        m << msg::badFailureTimes;
        return prep;
    }
    s.ModGen.resizeArrays(s.Hist.size());

    s.Kol_Pokol = generations;

    prep.settings.SizePopulation = population;
    prep.settings.Kol_Pokol = generations;
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
    const bool searched = o.Best_Celev_F < 1e306;
    if (searched && s.Podbor_Sred && s.Podbor_SKO) {
        s.Sred_Gar = s.Gen_Par[3];
        s.SKO_Gar = s.Gen_Par[4];
    } else if (searched && s.Podbor_Sred) {
        s.Sred_Gar = s.Gen_Par[3];
    } else if (searched && s.Podbor_SKO) {
        s.SKO_Gar = s.Gen_Par[3];
    }
    storeFittedModel(s, M, s.Gen_Par[1], s.Gen_Par[0], s.Gen_Par[2]);
    lines << Dover_Interval(s, M);
    return lines;
}

} // namespace wf
