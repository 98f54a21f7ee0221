#include "genetic/genetic_engine.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "genetic/encoding.h"
#include "genetic/genetic_objective.h"
#include "genetic/genetic_polish.h"
#include "genetic/genetic_pool.h"
#include "genetic/genetic_random.h"
#include "genetic/genetic_rules.h"

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstdint>
#include <vector>

namespace wf {

bool GeneticSettings::populationValid(QString* why) const {
    constexpr int kMin = 10, kMax = 1000000;
    if (SizePopulation >= kMin && SizePopulation <= kMax) return true;
    if (why) *why = msg::badPopulation(QString::number(SizePopulation), kMin, kMax);
    return false;
}

bool GeneticSettings::generationsValid(QString* why) const {
    if (Kol_Pokol >= 1) return true;
    if (why) *why = msg::badGenerations(QString::number(Kol_Pokol));
    return false;
}

namespace {

// A failed generation: the loop ends with the exceptional-situation line.
struct GenerationError {};

class Search {
public:
    Search(const AnalysisState& snap, const GeneticSettings& set, GeneticHost& host)
        : set_(set)
        , host_(host)
        , objective_(snap)
        , pool_(set.threads)
        , random_(set.seed) {
        rStride = objective_.endCount();
        // Records peak near three times the population; beyond this budget every
        // evaluation computes its Weibull values afresh.
        keepR = 3.0 * set.SizePopulation * static_cast<double>(rStride * sizeof(double)) <=
                static_cast<double>(set.reuseBudgetBytes);
        layout_ = GeneLayout{geneBits(snap.Tochnost), snap.Kol_Genov};
        shag_ = snap.Gen_Shag;
        out_.Gen_Par_Best = snap.Gen_Par_Best;
        for (int w = 0; w < pool_.size(); ++w) scratch_.push_back(objective_.scratch());
    }

    GeneticOutcome run();

private:
    void polish();
    using Index = std::uint32_t;

    bool setupValid() const;
    bool createPopulation();
    void generation();
    void applySchedule();
    void crossing(int generation);
    void mutation();
    void copyBestBack(int generation);
    void cutPopulation(std::size_t count);
    void sortAll();
    void mergeSorted(std::size_t sortedPrefix);
    void sortAfterMutation();
    void evaluateBatch(const std::vector<Index>& which);
    double evaluateNow(const std::array<double, 5>& genePar);
    Index newRecord(const Xromosome& x);
    void countEvaluation() {
        random_.reseed();
        ++out_.evaluations;
    }
    double f(Index i) const { return records[i].Celev_F; }

    const GeneticSettings& set_;
    GeneticHost& host_;
    // An automatic copy-back noted for the next generation, beside the user's request.
    bool copyBackDue_ = false;
    GeneticObjective objective_;
    GeneticPool pool_;
    GeneticRandom random_;
    std::vector<GeneticObjective::Scratch> scratch_;
    GeneLayout layout_;
    std::array<double, 5> shag_{};
    GeneticOutcome out_;

    std::vector<Xromosome> records; // every record; the lists below hold indices into it
    std::vector<Index> freeRecords;
    std::vector<Index> population;    // ListPopulation
    std::vector<Xromosome> snapshots; // ListBest
    std::vector<Index> pendingEval;
    // Per record, the Weibull distribution function at the interval ends for its decoded A
    // and B: a child that takes both genes whole from a parent, or a mutant changed in
    // another gene, starts from these instead of computing them again (same numbers).
    std::size_t rStride = 0;
    bool keepR = true;
    std::vector<double> rStore;
    std::vector<char> rValid;
    std::vector<Index> pendingSource; // per pendingEval entry: record to copy R from, or kNone
    static constexpr Index kNone = 0xffffffffu;
    std::vector<char> mutatedMark; // per population position: changed since the last sort
    std::vector<Index> mergeBuffer;
    std::vector<Index> sideBuffer;
    bool sortedButMutants = false; // population sorted except the positions in mutatedMark

    double pCross = 0; // fPCrossingOver
    double pMut = 0;   // fPMutation
    int g = 2;
    int lastProgress = -1;
};

bool Search::setupValid() const {
    return set_.SizePopulation >= 1 && layout_.L >= 1 && layout_.L <= kMaxGeneBits &&
           layout_.Kol_Genov >= 3 && layout_.Kol_Genov <= kMaxGenes;
}

Search::Index Search::newRecord(const Xromosome& x) {
    if (!freeRecords.empty()) {
        const Index i = freeRecords.back();
        freeRecords.pop_back();
        records[i] = x;
        rValid[i] = 0;
        return i;
    }
    records.push_back(x);
    rValid.push_back(0);
    if (keepR && rStore.size() < records.size() * rStride)
        rStore.resize(records.capacity() * rStride);
    return static_cast<Index>(records.size() - 1);
}

double Search::evaluateNow(const std::array<double, 5>& genePar) {
    const double v = objective_(genePar, scratch_[0]);
    countEvaluation();
    return v;
}

// Decodes and evaluates the records in parallel; any value that is not finite fails the
// generation. The draws were all made before, so the thread count cannot change a result.
// A record's R is taken from its source when it has one, from itself when still valid.
void Search::evaluateBatch(const std::vector<Index>& which) {
    std::atomic<bool> anyBad{false};
    pool_.forEach(static_cast<int>(which.size()), [&](int worker, int k) {
        const Index rec = which[k];
        Xromosome& x = records[rec];
        if (!keepR) {
            x.Celev_F = objective_(DecodeXrome(x, layout_, shag_), scratch_[worker]);
            if (!std::isfinite(x.Celev_F)) anyBad.store(true, std::memory_order_relaxed);
            return;
        }
        double* R = rStore.data() + static_cast<std::size_t>(rec) * rStride;
        bool fill = !rValid[rec];
        if (const Index src = pendingSource[k]; src != kNone) {
            const double* from = rStore.data() + static_cast<std::size_t>(src) * rStride;
            std::copy(from, from + rStride, R);
            fill = false;
        }
        const double v =
            objective_.evaluate(DecodeXrome(x, layout_, shag_), scratch_[worker], R, fill);
        x.Celev_F = v;
        if (!std::isfinite(v)) anyBad.store(true, std::memory_order_relaxed);
    });
    if (keepR)
        for (Index rec : which) rValid[rec] = 1;
    if (anyBad.load()) throw GenerationError{};
}

bool Search::createPopulation() {
    const int n = set_.SizePopulation;
    std::vector<std::array<double, 5>> drawn(n);
    population.reserve(static_cast<std::size_t>(n) * 3);
    records.reserve(static_cast<std::size_t>(n) * 3);
    if (keepR) rStore.resize(records.capacity() * rStride);
    rValid.reserve(records.capacity());
    for (int i = 0; i < n; ++i) {
        Xromosome x;
        std::array<double, 5> v{};
        for (int k = 0; k < layout_.Kol_Genov; ++k) {
            v[k] = random_.next() * Gen_Diap[k] + Gen_Min[k];
            x.sX[k] = encodeGene(v[k], shag_[k], layout_);
        }
        x.Pokolenie = 1;
        drawn[i] = v;
        population.push_back(newRecord(x));
        countEvaluation();
    }
    // The first population is judged by the drawn values themselves, not their encoding.
    std::atomic<bool> anyBad{false};
    pool_.forEach(n, [&](int worker, int i) {
        const double v = objective_(drawn[i], scratch_[worker]);
        records[population[i]].Celev_F = v;
        if (!std::isfinite(v)) anyBad.store(true, std::memory_order_relaxed);
    });
    return !anyBad.load();
}

void Search::sortAll() {
    std::sort(population.begin(), population.end(),
              [this](Index a, Index b) { return f(a) < f(b); });
    sortedButMutants = false;
}

// population[0, sortedPrefix) is in order; sorts the rest and merges the two.
void Search::mergeSorted(std::size_t sortedPrefix) {
    auto less = [this](Index a, Index b) { return f(a) < f(b); };
    std::sort(population.begin() + static_cast<std::ptrdiff_t>(sortedPrefix), population.end(),
              less);
    mergeBuffer.resize(population.size());
    std::merge(population.begin(), population.begin() + static_cast<std::ptrdiff_t>(sortedPrefix),
               population.begin() + static_cast<std::ptrdiff_t>(sortedPrefix), population.end(),
               mergeBuffer.begin(), less);
    population.swap(mergeBuffer);
    sortedButMutants = false;
}

void Search::sortAfterMutation() {
    if (!sortedButMutants) {
        sortAll();
        return;
    }
    // Take the mutants out, keeping the others in order, then merge them back in.
    sideBuffer.clear();
    std::size_t keep = 0;
    for (std::size_t i = 0; i < population.size(); ++i) {
        if (mutatedMark[i]) {
            sideBuffer.push_back(population[i]);
            mutatedMark[i] = 0;
        } else {
            population[keep++] = population[i];
        }
    }
    std::copy(sideBuffer.begin(), sideBuffer.end(),
              population.begin() + static_cast<std::ptrdiff_t>(keep));
    mergeSorted(keep);
}

void Search::cutPopulation(std::size_t count) {
    while (population.size() > count) {
        freeRecords.push_back(population.back());
        population.pop_back();
    }
}

void Search::applySchedule() {
    const int N = set_.Kol_Pokol;
    const int t1 = host_.crossoverSlider();
    const int t2 = host_.mutationSlider();
    const ScheduledProbability c = crossoverProbability(pCross, t1, g, N);
    const ScheduledProbability m = mutationProbability(pMut, t2, g, N);
    pCross = c.p;
    pMut = m.p;
    // A slider whose value was taken is passed back where it stood.
    if (c.slider >= 0 || m.slider >= 0)
        host_.setSliders(c.slider >= 0 ? c.slider : t1, m.slider >= 0 ? m.slider : t2);
}

void Search::copyBestBack(int generation) {
    const std::optional<int> k = host_.copyBestCount();
    if (!k) return; // a bad count ends the copy-back silently; the run goes on
    const long long n = copyBestCount(static_cast<long long>(snapshots.size()), *k);
    for (long long i = 0; i < n; ++i) {
        Xromosome x = snapshots[static_cast<std::size_t>(i)];
        x.Pokolenie = generation;
        population.push_back(newRecord(x));
    }
    snapshots.clear();
    sortAll();
    cutPopulation(static_cast<std::size_t>(set_.SizePopulation));
}

void Search::crossing(int generation) {
    const std::size_t C0 = population.size();
    const long long pairs = crossingPairs(static_cast<long long>(C0), pCross);
    if (pairs <= 0) return;
    const int len = layout_.length();
    const int wholeAB = 2 * layout_.L; // a cut at or past this keeps B and A whole
    pendingEval.clear();
    pendingSource.clear();
    for (long long p = 0; p < pairs; ++p) {
        const std::size_t C = population.size();
        const double r1 = random_.next();
        const double r2 = random_.next();
        const double r3 = random_.next();
        const CrossingDraw d = crossingDraw(r1, r2, r3, static_cast<long long>(C), len);
        const long long i1 = d.i1;
        const long long i2 = d.i2;
        const int cut = d.cut;
        if (i1 < 0 || i2 < 0 || i1 >= static_cast<long long>(C) || i2 >= static_cast<long long>(C))
            throw GenerationError{};
        const Xromosome& a = records[population[static_cast<std::size_t>(i1)]];
        const Xromosome& b = records[population[static_cast<std::size_t>(i2)]];
        Xromosome c1 = crossChromosomes(a, b, layout_, cut);
        Xromosome c2 = crossChromosomes(b, a, layout_, cut);
        c1.Pokolenie = c2.Pokolenie = generation;
        const Index ra = population[static_cast<std::size_t>(i1)];
        const Index rb = population[static_cast<std::size_t>(i2)];
        // newRecord may move the records, so a and b are not used past this point.
        const Index child1 = newRecord(c1);
        population.push_back(child1);
        pendingEval.push_back(child1);
        pendingSource.push_back(cut >= wholeAB && rValid[ra] ? ra : kNone);
        countEvaluation();
        const Index child2 = newRecord(c2);
        population.push_back(child2);
        pendingEval.push_back(child2);
        pendingSource.push_back(cut >= wholeAB && rValid[rb] ? rb : kNone);
        countEvaluation();
    }
    evaluateBatch(pendingEval);
}

void Search::mutation() {
    const long long count = mutationCount(set_.SizePopulation, pMut);
    if (count <= 0) return;
    const int len = layout_.length();
    pendingEval.clear();
    pendingSource.clear();
    mutatedMark.assign(population.size(), 0);
    for (long long c = 0; c < count; ++c) {
        const double r1 = random_.next();
        const double r2 = random_.next();
        const MutationDraw d = mutationDraw(r1, r2, len, set_.SizePopulation);
        const int pos = d.pos;
        const long long idx = d.idx;
        if (idx < 0 || idx >= static_cast<long long>(population.size())) throw GenerationError{};
        const Index rec = population[static_cast<std::size_t>(idx)];
        flipCharacter(records[rec], layout_, pos);
        if (pos <= 2 * layout_.L) rValid[rec] = 0; // B or A changed
        if (!mutatedMark[static_cast<std::size_t>(idx)]) {
            mutatedMark[static_cast<std::size_t>(idx)] = 1;
            pendingEval.push_back(rec);
            pendingSource.push_back(kNone);
        }
        countEvaluation();
    }
    // A candidate mutated twice is judged once, by its final text: the same value.
    evaluateBatch(pendingEval);
}

void Search::generation() {
    const int N = set_.Kol_Pokol;
    if (N < 1) throw GenerationError{}; // the schedule and the copy-back points divide by it

    applySchedule();

    const bool requested = host_.takeCopyBestRequest();
    if (copyBackDue_ || requested) {
        copyBackDue_ = false;
        host_.log(msg::copyingBest);
        copyBestBack(g);
    }

    if (copyBackPoint(g, N)) copyBackDue_ = true;

    sortAfterMutation();

    if (population.empty()) throw GenerationError{};
    const Xromosome& best = records[population[0]];
    if (out_.Best_Celev_F > best.Celev_F) {
        out_.Best_Celev_F = best.Celev_F;
        out_.Gen_Par_Best = DecodeXrome(best, layout_, shag_);
        const double fv = evaluateNow(out_.Gen_Par_Best);
        if (!std::isfinite(fv)) throw GenerationError{};
        host_.log(
            fmt::format(msg::geneticBestFormat, {fv, out_.Gen_Par_Best[0], 1 / out_.Gen_Par_Best[1],
                                                 out_.Gen_Par_Best[2]}));
    }

    Xromosome snap = records[population[0]];
    snap.Pokolenie = g;
    snapshots.push_back(snap);

    const long long shown =
        static_cast<long long>(snapshots.size()) < N ? static_cast<long long>(snapshots.size()) : N;
    host_.showGenerations(shown);

    const std::size_t before = population.size();
    crossing(g + 1);
    mergeSorted(before);
    cutPopulation(static_cast<std::size_t>(set_.SizePopulation));
    sortedButMutants = true;
    mutatedMark.assign(population.size(), 0);

    ++g;
    mutation();

    // Repeats of the same position are left out: the bar would not move.
    if (const std::optional<int> p = progressStep(g, N); p && *p != lastProgress) {
        lastProgress = *p;
        host_.progress(lastProgress);
    }
}

GeneticOutcome Search::run() {
    host_.takeCopyBestRequest(); // a press before the start is forgotten
    out_.end = JobEnd::failed(msg::geneticNoResult);
    if (!setupValid()) return out_;
    random_.reseed();
    try {
        if (!createPopulation()) return out_;
    } catch (const std::exception&) { // too large a population: no run, as a failed setup
        return out_;
    }
    out_.end = {};
    host_.log(msg::genesCreated(layout_.Kol_Genov));
    out_.ranGenerations = true;
    g = 2;
    out_.Best_Celev_F = kNoObjectiveYet;
    do {
        ++out_.generations;
        try {
            generation();
        } catch (const GenerationError&) {
            host_.log(msg::exceptionalSituation);
            out_.end = JobEnd::failed(msg::exceptionalSituation);
            break;
        } catch (const std::exception&) { // e.g. memory: the run ends like any other error
            host_.log(msg::exceptionalSituation);
            out_.end = JobEnd::failed(msg::exceptionalSituation);
            break;
        }
    } while (!host_.stopRequested() && g <= set_.Kol_Pokol);
    const bool failed = out_.end.how == Termination::Failed;
    if (!failed && g <= set_.Kol_Pokol) out_.end = JobEnd::cancelled();
    if (set_.polish && !failed && out_.Best_Celev_F < kNoObjectiveYet) polish();
    return out_;
}

// Draws nothing, so the generations' log and random sequence are the same with or without.
void Search::polish() {
    const PolishOutcome p = polishBest(objective_, out_.Gen_Par_Best, layout_.Kol_Genov);
    out_.polishEvaluations = p.evaluations;
    if (p.improved) {
        out_.Gen_Par_Best = p.Gen_Par;
        out_.Best_Celev_F = p.objective;
        out_.polished = true;
    }
    host_.log(fmt::format(msg::geneticPolishFormat, {p.objective}));
}

} // namespace

GeneticOutcome runGeneticSearch(const AnalysisState& snapshot, const GeneticSettings& set,
                                GeneticHost& host) {
    Search search(snapshot, set, host);
    return search.run();
}

} // namespace wf
