#pragma once
// The small counting rules of a generation, kept apart so each can be checked on its own:
// the probability schedule and its sliders, how many pairs and mutants, which candidates
// crossover and mutation pick, the copy-back points and count, and the progress steps.

#include "genetic/encoding.h"

#include <cmath>
#include <optional>

namespace wf {

// A probability of the current generation and the slider position to show (-1: the value
// came from the slider, which stays put).
struct ScheduledProbability {
    double p = 0;
    int slider = -1;
};

// The slider wins when it is more than 0.01 away from the previous probability (read as
// position / 100); otherwise the schedule gives amplitude * |sin(argument)|.
inline ScheduledProbability scheduleOrSlider(double previous, int slider, double amplitude,
                                             double argument) {
    if (std::fabs(previous - slider / 100.0) > 0.01) return {slider / 101.0, -1};
    const double p = amplitude * std::fabs(std::sin(argument));
    return {p, static_cast<int>(roundEven(p * 101))};
}
// fPCrossingOver at generation g of N (N >= 1).
inline ScheduledProbability crossoverProbability(double previous, int slider, int g, int N) {
    return scheduleOrSlider(previous, slider, 0.275, 1 - 8.0 * g / N);
}
// fPMutation at generation g of N (N >= 1).
inline ScheduledProbability mutationProbability(double previous, int slider, int g, int N) {
    return scheduleOrSlider(previous, slider, 0.125, 10.0 * g / N - 0.025);
}

inline long long crossingPairs(long long populationCount, double pCross) {
    return roundEven(static_cast<double>(populationCount) * pCross);
}
inline long long mutationCount(int SizePopulation, double pMut) {
    return roundEven(SizePopulation * pMut);
}

// Parents and cut of one pair from three draws, C being the population count now.
struct CrossingDraw {
    long long i1 = 0;
    long long i2 = 0;
    int cut = 1;
};
inline CrossingDraw crossingDraw(double r1, double r2, double r3, long long C, int lengthXrome) {
    CrossingDraw d;
    d.i1 = roundEven(r1 * static_cast<double>(C) / 2);
    d.i2 = C - 1 - roundEven(r2 * static_cast<double>(C) / 2);
    d.cut = static_cast<int>(roundEven(r3 * (lengthXrome - 2))) + 1;
    return d;
}

// Character position (from 1) and population index of one mutation from two draws.
struct MutationDraw {
    int pos = 1;
    long long idx = 8;
};
inline MutationDraw mutationDraw(double r1, double r2, int lengthXrome, int SizePopulation) {
    return {static_cast<int>(roundEven(r1 * (lengthXrome - 1))) + 1,
            roundEven(r2 * (SizePopulation - 10)) + 8};
}

// Generation g of N asks for a copy-back at the start of the next one (20, 50, 80 %).
inline bool copyBackPoint(int g, int N) {
    const double share = static_cast<double>(g) / N;
    return std::fabs(share - 0.8) < 0.0002 || std::fabs(share - 0.5) < 0.0002 ||
           std::fabs(share - 0.2) < 0.0002;
}

// How many snapshots a copy-back takes for the count k: the first k + 1, or all when there
// are k or fewer; none for a negative k.
inline long long copyBestCount(long long snapshots, long long k) {
    const long long last = snapshots <= k ? snapshots - 1 : k;
    return last < 0 ? 0 : last + 1;
}

// The progress bar position after generation g of N when it moves: a multiple of 5,
// never above 100.
inline std::optional<int> progressStep(int g, int N) {
    const long long p = roundEven(100.0L * g / N);
    if (p % 5 != 0) return std::nullopt;
    return static_cast<int>(p < 0 ? 0 : (p > 100 ? 100 : p));
}

} // namespace wf
