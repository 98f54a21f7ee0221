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

struct Problems {
    double time = 0;
    int chey = 0;
    QString Pri;
    QString komment;
};

struct Vid_otkaza {
    QString Nazv_Prich;
    double Dolya = 0;
};

struct Hist_Rec {
    double time = 0;
    std::array<int, kNprSize> Npr{};
    int Sum = 0;
};

using Hist40 = std::vector<Hist_Rec>;

// A searched coordinate of a deterministic fit that did not really search: it ended where
// it started, or pinned against a bound of the search.
struct SearchDiagnostic {
    enum class Kind { Start, Bound };
    QString param; // "B", "A", "K", "Sred" or "SKO"
    Kind kind = Kind::Start;
    double value = 0; // the coordinate's final value
};

struct Mod_Weib {
    double A = 0;
    double B = 0;
    double Kol_Nakopl = 0;
    double SKO = 0;
    double Sred = 0;
    double K_powtor = 0;
    double SKO_out = 0;
    double Unsens = 0;
    double KolmCrt = 0;
    double LamStart = 0;
    double Lam1000 = 0;
    DoubArr Kol_F_priv;
    DoubArr F_Weib;
    DoubArr F_norm;
    bool Executed = false;
    // Warnings of the fit that filled the record (deterministic fits only; empty otherwise).
    std::vector<SearchDiagnostic> Diagnostics;

    // Sizes the three per-interval arrays; existing values stay, new ones are 0.
    void resizeArrays(std::size_t n) {
        Kol_F_priv.resize(n, 0.0);
        F_Weib.resize(n, 0.0);
        F_norm.resize(n, 0.0);
    }
};

// A two-sided confidence interval; undefined where the data cannot give one.
struct ConfidenceBounds {
    bool defined = false;
    double lo = 0;
    double hi = 0;
};

// What the maximum-likelihood fit knows beyond its model record.
struct LikelihoodDetail {
    double logLikelihood = 0;                        // l at the estimate
    double confidence = 0;                           // two-sided level of the bounds, e.g. 0.95
    ConfidenceBounds A, B, K;                        // of the parameters (B in h)
    ConfidenceBounds gamma50, gamma90;               // of "Гамма 50%" and "Гамма 90%", h
    ConfidenceBounds perProduct2000, perProduct4000; // failures per product by 2000 / 4000 h
    QString message;                                 // why the bounds are undefined, or empty
};

struct AnalysisState {
    // Input parameters taken from the main window.
    double Sred_Gar = 0;
    double SKO_Gar = 0;
    double T_Prirab = 0;
    bool Podbor_Sred = false;
    bool Podbor_SKO = false;
    QString Put_Fajla;

    // Loaded failure data.
    std::vector<Problems> Otkazy;
    std::vector<Vid_otkaza> Vidy_Otk;
    std::vector<Vid_otkaza> Vidy_Otk_Sort;
    int Kol_Prich = 0;
    QString Kommentarij;
    double Kol_All = 0;
    double Park = 0;
    int Kol_Otk = 0;
    int Kol_Otk_Bez_Braka = 0;
    int N_Perv_Otk = -1;
    bool Dannye_Gotovy = false;
    DoubArr Vremena_Gar;

    // Load-time summary.
    double Sum_X = 0;
    double Sum_Y = 0;
    double Sum_X2 = 0;
    double Sum_XY = 0;
    double Naklon_LN = 0;
    double Sdvig_LN = 0;
    bool Line_Defined = false; // false when fewer than two points define the ln-ln line
    double T10 = 0;
    double T50_Nabl = 0;
    double T50_Cens = 0;
    double Otk_2000 = 0;
    double Masshtab = 1.0;

    // Histogram.
    Hist40 Hist;
    int Shag_Nach = 100;
    int Shag_Dal = 100;
    std::array<double, kSumNprSize> Sum_Npr{};

    // Model records.
    Mod_Weib ModNewton;
    Mod_Weib ModSpir;
    Mod_Weib ModSmirnov;
    Mod_Weib ModGen;
    Mod_Weib ModExt;
    Mod_Weib ModMLE; // maximum likelihood of the thinned flow, with confidence bounds
    LikelihoodDetail ModMLE_Detail; // its log-likelihood and bounds

    // Fitting support: elapsed time of the last fit and its parts.
    double Lam_Emp = 0;
    double T_Lam_Kon = 0;
    std::int64_t T_Start_us = 0;
    std::int64_t T_Dlit_us = 0;
    std::uint16_t Chas = 0;
    std::uint16_t Minut = 0;
    std::uint16_t Sek = 0;
    std::uint16_t MSek = 0;

    // Genetic algorithm.
    double Best_Celev_F = 1e306;
    int Kol_Pokol = 0;
    std::array<double, 5> Gen_Par{};
    std::array<double, 5> Gen_Par_Best{};
    std::array<double, 5> Gen_Shag{};
    int Kol_Genov = 3;
    long double Tochnost = 1e-7L;

    // Results output.
    int Stolbec_Rez = 1;
    DoubArr P_Norm_Int;
};

} // namespace wf
