#pragma once
// The analysis state: one struct holding every value the program shares, under the
// names the rest of the code uses. The window owns exactly one; engine operations take
// it by reference.

#include <QString>

#include <array>
#include <cstdint>
#include <vector>

namespace wf {

using DoubArr = std::vector<double>;

// Per-cause tables hold this many causes; a file naming more is refused by the loader.
inline constexpr int kNprSize = 54;
inline constexpr int kSumNprSize = 53;
// Causes from the file at most ([0] "Брак" and [1] "Другие" come on top).
inline constexpr int kMaxFileCauses = 50;
// A best objective value before any was found: above every real one.
inline constexpr double kNoObjectiveYet = 1e306;

struct Problems {
    double time = 0; // operating time of the failure, h; below 1 means found before use ("Брак")
    int chey = 0;    // cause index: into Vidy_Otk while reading, into Vidy_Otk_Sort afterwards
    QString Pri;     // cause text as matched on the line (the loader's working text)
    QString komment; // description after "*" on the line, shown in the failure table; may be empty

    bool operator==(const Problems&) const = default;
};

struct Vid_otkaza {
    QString Nazv_Prich; // cause name as in the file (trimmed), or "Брак" / "Другие"
    double Dolya = 0;   // failures of the cause (a count; a line naming several counts for each)

    bool operator==(const Vid_otkaza&) const = default;
};

struct Hist_Rec {
    double time = 0;                 // upper end of the interval, h (lower end: previous record's)
    std::array<int, kNprSize> Npr{}; // failures per cause (by chey); all "Брак" go in the first
    int Sum = 0;                     // failures in the interval; the first leaves out time below 1

    bool operator==(const Hist_Rec&) const = default;
};

using Hist40 = std::vector<Hist_Rec>;

// A searched coordinate of a deterministic fit that did not really search: it ended where
// it started, or pinned against a bound of the search.
struct SearchDiagnostic {
    enum class Kind { Start, Bound };
    QString param; // "B", "A", "K", "Sred" or "SKO"
    Kind kind = Kind::Start;
    double value = 0; // the coordinate's final value

    bool operator==(const SearchDiagnostic&) const = default;
};

// The Weibull parameters of a model, as Mod_Weib holds them.
struct WeibullParams {
    double A = 0; // shape
    double B = 0; // scale, h
    double K = 0; // repeat-failure coefficient
};

struct Mod_Weib {
    double A = 0;          // Weibull shape, dimensionless
    double B = 0;          // Weibull scale, h
    double Kol_Nakopl = 0; // expected censored fleet failures so far (running sum of Kol_F_priv)
    double SKO = 0;        // SD of the warranty end time the model was computed with, h
    double Sred = 0;       // mean warranty end time the model was computed with, h
    double K_powtor = 0;   // repeat-failure coefficient: failures per product over the whole life
    double SKO_out = 0;    // deviation of accumulated failures from the observed, failures
    double Unsens = 0;     // accumulated Weibull probability without censoring (sum of F_Weib)
    double KolmCrt = 0;    // Kolmogorov criterion of the model, dimensionless
    double LamStart = 0;   // failure rate at T_Prirab, failures per product per 1000 h
    double Lam1000 = 0;    // the same at 1000 h (or the last failure, if earlier)
    // Per histogram interval, sized to Hist whenever the model is computed:
    DoubArr Kol_F_priv;    // expected fleet failures in the interval, with censoring
    DoubArr F_Weib;        // Weibull probability of the interval, F(upper) - F(lower)
    DoubArr F_norm;        // share of products out of warranty at the interval midpoint
    bool Executed = false; // computed since the last reset; only executed models are shown
    // Warnings of the fit that filled the record (deterministic fits only; empty otherwise).
    std::vector<SearchDiagnostic> Diagnostics;

    // Sizes the three per-interval arrays; existing values stay, new ones are 0.
    void resizeArrays(std::size_t n) {
        Kol_F_priv.resize(n, 0.0);
        F_Weib.resize(n, 0.0);
        F_norm.resize(n, 0.0);
    }
    void setParams(const WeibullParams& p) {
        A = p.A;
        B = p.B;
        K_powtor = p.K;
    }

    bool operator==(const Mod_Weib&) const = default;
};

// A two-sided confidence interval; undefined where the data cannot give one.
struct ConfidenceBounds {
    bool defined = false;
    double lo = 0;
    double hi = 0;
    bool loOpen = false;    // the data set no lower limit within the search range (lo is 0)
    bool hiOpen = false;    // nor an upper one (hi is infinite)
    bool unreached = false; // a life the data do not let the flow reach at this level

    bool operator==(const ConfidenceBounds&) const = default;
};

// How model 3's bounds are drawn: from the profile likelihood, or from the observed
// information (Wald, on the log scale).
enum class BoundsMethod { LikelihoodRatio, Wald };

// What the maximum-likelihood fit knows beyond its model record.
struct LikelihoodDetail {
    double logLikelihood = 0; // l at the estimate
    double confidence = 0;    // two-sided level of the bounds, e.g. 0.95
    BoundsMethod method = BoundsMethod::LikelihoodRatio;
    ConfidenceBounds A, B, K;                        // of the parameters (B in h)
    ConfidenceBounds gamma50, gamma90;               // of "Гамма 50%" and "Гамма 90%", h
    ConfidenceBounds perProduct2000, perProduct4000; // failures per product by 2000 / 4000 h
    QString message;                                 // why the bounds are undefined, or empty

    bool operator==(const LikelihoodDetail&) const = default;
};

struct AnalysisState {
    // Input parameters taken from the main window.
    double Sred_Gar = 0;      // mean time at which products leave warranty, h
    double SKO_Gar = 0;       // standard deviation of that time, h
    double T_Prirab = 0;      // burn-in time, h
    bool Podbor_Sred = false; // fits also fit Sred_Gar and write the fitted value back
    bool Podbor_SKO = false;  // likewise for SKO_Gar
    QString Put_Fajla;        // data file path as it stood when the input check ran

    // Loaded failure data.
    std::vector<Problems> Otkazy;     // the failures, by time ascending once loaded
    std::vector<Vid_otkaza> Vidy_Otk; // causes in file order after [0] "Брак", [1] "Другие"
    std::vector<Vid_otkaza> Vidy_Otk_Sort; // the same, file causes by Dolya descending (stable)
    int Kol_Prich = 0;                     // highest cause index: 1 + cause names in the file
    QString Kommentarij;                   // first line of the last file read; the charts' title
    double Kol_All = 0;                    // fleet size as written in the file, products
    double Park = 0;                       // fleet size every calculation uses, products
    int Kol_Otk = 0;                       // failure lines read plus one, a count
    int Kol_Otk_Bez_Braka = 0;             // failures less "Брак" (ceiling): the observed total
    int N_Perv_Otk = -1;                   // index in Otkazy of the first time > 0, -1 if none
    bool Dannye_Gotovy = false;            // a data or warranty file is open; calculating needs it
    DoubArr Vremena_Gar;                   // warranty end times from the warranty file, h

    // Load-time summary.
    double Sum_X = 0;          // least-squares line of ln N against ln t: sum of x = ln t
    double Sum_Y = 0;          // sum of y = ln N (N: failures so far)
    double Sum_X2 = 0;         // sum of x * x
    double Sum_XY = 0;         // sum of x * y
    double Naklon_LN = 0;      // slope of that line
    double Sdvig_LN = 0;       // its intercept
    bool Line_Defined = false; // false when fewer than two points define the ln-ln line
    double T10 = 0;            // time at which censoring-weighted failures reach 10 % of Park, h
    double T50_Nabl = 0;       // the same for 50 %, h
    double T50_Cens = 0;       // the same value again, h
    double Otk_2000 = 0;       // censoring-weighted failures per product scaled to 2000 h
    double Masshtab = 1.0;     // divides the second figure of an "N / M" results cell; 1 on load

    // Histogram.
    Hist40 Hist;                               // failure-flow intervals, at most 41
    int Shag_Nach = 100;                       // width of the first ten intervals, h
    int Shag_Dal = 100;                        // width of the later intervals, h
    std::array<double, kSumNprSize> Sum_Npr{}; // per-cause running totals of the results, failures

    // Model records.
    Mod_Weib ModNewton;  // model 1.2: Pearson criterion, Newton's method
    Mod_Weib ModSpir;    // model 1.1: Pearson criterion, spiral descent
    Mod_Weib ModSmirnov; // model 2: Smirnov criterion
    Mod_Weib ModGen;     // genetic algorithm
    Mod_Weib ModExt;     // external optimizer
    Mod_Weib ModMLE;     // maximum likelihood of the thinned flow, with confidence bounds
    LikelihoodDetail ModMLE_Detail; // its log-likelihood and bounds

    // Fitting support: elapsed time of the last fit and its parts.
    double Lam_Emp = 0;          // observed failures per product per 1000 h after T_Prirab
    double T_Lam_Kon = 0;        // end of the window of that rate, h
    std::int64_t T_Start_us = 0; // start of the last fit on its clock, microseconds
    std::int64_t T_Dlit_us = 0;  // its duration, microseconds
    std::uint16_t Chas = 0;      // the duration's hours
    std::uint16_t Minut = 0;     // minutes
    std::uint16_t Sek = 0;       // seconds; the fits' time limits read it
    std::uint16_t MSek = 0;      // milliseconds

    // Genetic algorithm.
    double Best_Celev_F =
        kNoObjectiveYet;                  // best objective value so far (starts above any real one)
    int Kol_Pokol = 0;                    // number of generations
    std::array<double, 5> Gen_Par{};      // decoded genes: B (h), A, K_powtor, mean/SD (h)
    std::array<double, 5> Gen_Par_Best{}; // the same for the best chromosome
    std::array<double, 5> Gen_Shag{};     // value of one step of each gene, in its unit
    int Kol_Genov = 3;            // genes in use: 3, or 4-5 with the warranty mean/SD fitted
    long double Tochnost = 1e-7L; // fitting precision: a gene step over the gene's upper bound

    // Results output.
    int Stolbec_Rez = 1; // next column of the results table, one per model
    DoubArr P_Norm_Int;  // per interval: share of products out of warranty at its upper end

    bool operator==(const AnalysisState&) const = default;
};

// Marks every model record as not computed: its results belong to data no longer loaded,
// and shown beside new data they would pass for that data's.
inline void clearExecuted(AnalysisState& s) {
    for (Mod_Weib* m : {&s.ModNewton, &s.ModSpir, &s.ModSmirnov, &s.ModGen, &s.ModExt, &s.ModMLE})
        m->Executed = false;
}

} // namespace wf
