#pragma once
// Where each search looks for the model's parameters: Weibull shape A, scale B (h), repeat
// coefficient K, and the warranty mean Sred and SD SKO (h), in one place. The searches differ
// in method and purpose, and so do their boxes. Every value is the one its search has always
// used: fitted figures, and the warnings of a coordinate that ends on a bound, depend on it.
// A range without a reason beside it has none known beyond that.

namespace wf::domain {

struct Range {
    double lo = 0, hi = 0;
};

// A range by its lower end and width, the form the genetic search draws from.
struct Span {
    double lo = 0, width = 0;
};

// Models 1.1, 1.2 and 2 search coordinate by coordinate and reverse every trial that leaves
// its range, so these are hard walls of each model's own step table (fits.cpp).

// Model 1.1, spiral descent.
inline constexpr Range kSpiralB{10, 50000};
inline constexpr Range kSpiralA{0.35, 10};
inline constexpr Range kSpiralK{1.01, 30};
inline constexpr Range kSpiralSred{150, 5000};
inline constexpr Range kSpiralSKO{50, 900};      // the SD searched together with the mean
inline constexpr Range kSpiralSKOAlone{80, 900}; // alone: with its own, coarser steps

// Model 1.2, Newton-style search: a step is kept only if the next one stays inside.
inline constexpr Range kNewtonB{10, 50000};
inline constexpr Range kNewtonA{0.5, 3};
inline constexpr Range kNewtonK{1, 30}; // the lower end itself counts as outside
inline constexpr Range kNewtonSred{150, 3000};
inline constexpr Range kNewtonSKO{30, 900}; // with the mean or alone

// Model 2, the accumulated failures (failures below 1 h left out).
inline constexpr Range kSmirnovB{1, 50000};
inline constexpr Range kSmirnovA{0.3, 3};
inline constexpr Range kSmirnovK{1.01, 30};

// The genetic search draws its first candidates from lo to lo + width (its Gen_Min and
// Gen_Diap tables); crossover and mutation may leave these spans, decoded genes are not
// bounded. Slot 3 holds the SD when the SD alone is searched and then draws from kGeneSred.
inline constexpr Span kGeneB{1, 40000};
inline constexpr Span kGeneA{0.1, 3};
inline constexpr Span kGeneK{0.5, 20};
inline constexpr Span kGeneSred{80, 5000};
inline constexpr Span kGeneSKO{30, 1000};

// The local refinement of the genetic search's best candidate descends on logarithms, so
// every end is positive; it reaches well past the creation spans, where the generations'
// best may already lie. Slot 3 keeps kPolishSred when it holds the SD.
inline constexpr Range kPolishB{1, 1e6};
inline constexpr Range kPolishA{0.02, 20};
inline constexpr Range kPolishK{1e-6, 1e3};
inline constexpr Range kPolishSred{1, 1e6};
inline constexpr Range kPolishSKO{1e-3, 1e5};

// The companion optimizer's box for its answer; it starts from the genetic creation spans.
// Without a top a fleet whose failures follow a pure power law drives B and K off together
// for ever smaller gains; beyond 1e5 h (some 11 years of operation) B stops meaning anything.
inline constexpr Range kOptimizerB{1, 1e5};
inline constexpr Range kOptimizerA{0.02, 10};
inline constexpr Range kOptimizerK{1e-4, 100}; // small shares of failing products need K << 0.5

// Model 3, maximum likelihood over ln A, ln B, ln K: an estimate or bound at an end of these
// ranges is reported as one the data leave open.
inline constexpr Range kMleA{0.05, 20};
inline constexpr Range kMleB{1, 1e7};
inline constexpr Range kMleK{1e-6, 1e3};

} // namespace wf::domain
