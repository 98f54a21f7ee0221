#include "stats/fits.h"

#include "analysis/search_point.h"
#include "core/distributions.h"
#include "core/parameter_domains.h"
#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/fit_rules.h"
#include "stats/model_arrays.h"
#include "stats/pearson.h"
#include "stats/smirnov.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace wf {

bool FitSettings::valid(QString* why) const {
    if (Koef_Umen > 1 && std::isfinite(Koef_Umen)) return true;
    if (why) *why = msg::badStepFactor(label, fmt::general(Koef_Umen));
    return false;
}

namespace {

constexpr std::int64_t kProgressEveryUs = 50'000;
constexpr long long kClockCheckEvery = 64;

struct Coord {
    double start, lo, hi, step, tol;
};

struct Vector {
    std::array<Coord, 5> c{};
    int n = 0;

    std::array<double, 5> starts() const {
        std::array<double, 5> x{};
        for (int j = 0; j < n; ++j) x[j] = c[j].start;
        return x;
    }
    std::array<double, 5> steps() const {
        std::array<double, 5> x{};
        for (int j = 0; j < n; ++j) x[j] = c[j].step;
        return x;
    }
};

// A start value outside its bounds would keep that coordinate from ever moving (every
// trial fails the bounds test); it starts on the nearest bound instead.
Vector startInside(Vector v) {
    for (int j = 0; j < v.n; ++j) v.c[j].start = std::clamp(v.c[j].start, v.c[j].lo, v.c[j].hi);
    return v;
}

Coord coord(double start, const domain::Range& r, double step, double tol) {
    return {start, r.lo, r.hi, step, tol};
}

// Search vector of models 1.1 and 1.2: B, A, K, then the warranty mean and/or SD.
Vector pearsonVector(const AnalysisState& s, bool newton) {
    using namespace domain;
    const double k0 = s.Kol_Otk / s.Kol_All;
    Vector v;
    if (!newton) {
        v.c[0] = coord(1000, kSpiralB, 0.5, 1e-7);
        v.c[1] = coord(1, kSpiralA, 5e-5, 1e-8);
        v.c[2] = coord(k0, kSpiralK, 5e-5, 1e-8);
    } else {
        v.c[0] = coord(2000, kNewtonB, 0.25, 1e-5);
        v.c[1] = coord(1, kNewtonA, 0.001, 1e-8);
        v.c[2] = coord(k0, kNewtonK, 0.0005, 1e-8);
    }
    v.n = 3;
    const Coord mean =
        newton ? coord(500, kNewtonSred, 1, 0.05) : coord(400, kSpiralSred, 0.125, 0.01);
    if (s.Podbor_Sred && s.Podbor_SKO) {
        v.c[3] = mean;
        v.c[4] = newton ? coord(150, kNewtonSKO, 1, 0.005) : coord(100, kSpiralSKO, 0.125, 0.01);
        v.n = 5;
    } else if (s.Podbor_Sred) {
        v.c[3] = mean;
        v.n = 4;
    } else if (s.Podbor_SKO) {
        v.c[3] = newton ? coord(150, kNewtonSKO, 5, 0.01) : coord(100, kSpiralSKOAlone, 0.25, 0.1);
        v.n = 4;
    }
    return startInside(v);
}

Vector smirnovVector(const AnalysisState& s) {
    using namespace domain;
    Vector v;
    v.c[0] = coord(2000, kSmirnovB, 0.25, 1e-5);
    v.c[1] = coord(1, kSmirnovA, 0.0002, 1e-7);
    v.c[2] = coord(s.Kol_Otk / s.Kol_All, kSmirnovK, 0.0001, 1e-8);
    v.n = 3;
    return startInside(v);
}

// Names of the searched coordinates, in vector order.
QString coordName(const AnalysisState& s, int j) {
    static const QString names[] = {QStringLiteral("B"), QStringLiteral("A"), QStringLiteral("K"),
                                    QStringLiteral("Sred"), QStringLiteral("SKO")};
    if (j == 3 && !s.Podbor_Sred) return names[4];
    return names[j];
}

// Coordinates that never moved a whole start step from where they began, or that ended
// within one start step of a bound: the search could not really search them.
std::vector<SearchDiagnostic> diagnose(const AnalysisState& s, const Vector& v, const double* X) {
    std::vector<SearchDiagnostic> out;
    for (int j = 0; j < v.n; ++j) {
        const Coord& c = v.c[j];
        const double reach = std::fabs(c.step);
        if (std::fabs(X[j] - c.start) < reach)
            out.push_back({coordName(s, j), SearchDiagnostic::Kind::Start, X[j]});
        else if (X[j] - c.lo <= reach || c.hi - X[j] <= reach)
            out.push_back({coordName(s, j), SearchDiagnostic::Kind::Bound, X[j]});
    }
    return out;
}

// Stores the warnings in the record and adds their log lines.
void reportDiagnostics(Mod_Weib& M, std::vector<SearchDiagnostic> d, const QString& model,
                       QStringList& memo) {
    for (const SearchDiagnostic& x : d) memo << diagnosticLine(model, x);
    M.Diagnostics = std::move(d);
}

// Models 1.1 and 1.2: the objective at the search vector X (B, A, K, then the searched
// warranty mean and/or SD).
double pearsonAt(PearsonObjective& objective, const AnalysisState& s, Mod_Weib& M,
                 const std::array<double, 5>& X) {
    const WeibullParams p = weibullAt(X.data());
    const WarrantyValues w = warrantyAt(s, X.data());
    return objective(M, p.A, p.B, p.K, w.mean, w.sd);
}

// Clock bookkeeping shared by the fits: one tick per evaluation, the elapsed time in the
// state, progress reports, the cancel request and the safety limit.
class Pacer {
public:
    Pacer(AnalysisState& s, FitClock& clock, const ProgressFn& progress, QString stage)
        : s_(s)
        , clock_(clock)
        , progress_(progress)
        , stage_(std::move(stage))
        , start_(clock.nowUs())
        , lastReport_(start_) {}

    std::int64_t start() const { return start_; }

    // After every objective evaluation; false when the search must end now.
    bool evaluated() {
        ++evaluations;
        clock_.tick();
        if (evaluations % kClockCheckEvery == 0) return check();
        return true;
    }

    // Reads the clock: false when cancelled or past the safety limit.
    bool check() {
        const std::int64_t now = clock_.nowUs();
        if (now - start_ >= kFitSafetyLimitUs) {
            safetyStop = true;
            return false;
        }
        if (progress_ && now - lastReport_ >= kProgressEveryUs) {
            lastReport_ = now;
            Progress p;
            p.stage = stage_;
            p.elapsedUs = now - start_;
            if (!progress_(p)) {
                cancelled = true;
                return false;
            }
        }
        return true;
    }

    bool stopped() const { return cancelled || safetyStop; }

    // Elapsed time into T_Dlit and its parts; returns the seconds part.
    int split() {
        s_.T_Dlit_us = clock_.nowUs() - start_;
        const ElapsedParts p = splitElapsed(s_.T_Dlit_us);
        s_.Chas = p.Chas;
        s_.Minut = p.Minut;
        s_.Sek = p.Sek;
        s_.MSek = p.MSek;
        return s_.Sek;
    }

    QString doneText(const QString& prefix) {
        split();
        return prefix + longTimeText(splitElapsed(s_.T_Dlit_us)) + msg::elapsedUnits;
    }

    long long evaluations = 0;
    bool cancelled = false;
    bool safetyStop = false;

private:
    AnalysisState& s_;
    FitClock& clock_;
    const ProgressFn& progress_;
    QString stage_;
    std::int64_t start_;
    std::int64_t lastReport_;
};

// What a cancelled fit puts back.
struct Snapshot {
    Mod_Weib model;
    double sred, sko;
    void restore(AnalysisState& s, Mod_Weib& M) const {
        M = model;
        s.Sred_Gar = sred;
        s.SKO_Gar = sko;
    }
};

// The found point of model 1.1 or 1.2 into its record, the searched warranty values into
// the state, the record's arrays and its evaluation.
void storePearsonFit(AnalysisState& s, Mod_Weib& M, const double* X) {
    storeSearchedWarranty(s, X);
    storeFittedModel(s, M, weibullAt(X));
}

FitReport refused(const FitSettings& set, const QString& label) {
    FitReport r;
    r.end = JobEnd::refused(msg::badStepFactor(label, fmt::general(set.Koef_Umen)));
    return r;
}

void finishReport(FitReport& r, const Pacer& pacer) {
    r.evaluations = pacer.evaluations;
    if (pacer.cancelled) r.end = JobEnd::cancelled();
    if (pacer.safetyStop) {
        r.end = {Termination::LimitReached, msg::fitSafetyStop};
        r.memo << msg::fitSafetyStop;
    }
}

// The end of model 1.1 or 1.2. Cancelled: the record and warranty values as they were
// before. Otherwise the point stored, the elapsed-time and step lines, the warnings of
// coordinates that could not search. Then the report's counts.
void finishPearsonFit(AnalysisState& s, Mod_Weib& M, const Snapshot& before, const Vector& v,
                      const std::array<double, 5>& X, const std::array<double, 5>& S,
                      const QString& donePrefix, const QString& model, Pacer& pacer,
                      FitReport& report) {
    if (pacer.cancelled) {
        before.restore(s, M);
        finishReport(report, pacer);
        return;
    }
    storePearsonFit(s, M, X.data());
    report.memo << pacer.doneText(donePrefix);
    report.memo << fmt::format(msg::fitStepLine, {S[1], s.Sred_Gar, s.SKO_Gar});
    reportDiagnostics(M, diagnose(s, v, X.data()), model, report.memo);
    finishReport(report, pacer);
}

} // namespace

QString diagnosticLine(const QString& model, const SearchDiagnostic& d) {
    return d.kind == SearchDiagnostic::Kind::Start ? msg::searchDidNotMove(model, d.param)
                                                   : msg::searchOnBound(model, d.param);
}

FitReport Podbor_Spiral(AnalysisState& s, const FitSettings& set, FitClock& clock,
                        const ProgressFn& progress) {
    if (!set.valid()) return refused(set, msg::stepFactorLabel11);
    Mod_Weib& M = s.ModSpir;
    const Vector v = pearsonVector(s, false);
    const int n = v.n;
    M.resizeArrays(s.Hist.size());
    const Snapshot before{M, s.Sred_Gar, s.SKO_Gar};
    double R = set.Koef_Umen;
    Pacer pacer(s, clock, progress, msg::stageModel11);
    s.T_Start_us = pacer.start();
    PearsonObjective objective(s, set.criterion);

    std::array<double, 5> X = v.starts(), S = v.steps();
    auto eval = [&] { return pearsonAt(objective, s, M, X); };

    FitReport report;
    double F = eval();
    double Fp = 0;
    pacer.evaluated();
    while (!pacer.stopped()) {
        for (int j = 0; j < n && !pacer.stopped(); ++j) {
            for (;;) {
                const double xs = X[j];
                if (X[j] + S[j] > 0) X[j] = X[j] + S[j];
                if (!(X[j] > v.c[j].hi || X[j] < v.c[j].lo)) {
                    Fp = F;
                    F = eval();
                    if (!pacer.evaluated()) break;
                    if (F <= Fp) continue;
                }
                // Reversal: one step to the other side of the point before the trial.
                F = Fp;
                X[j] = xs - S[j];
                S[j] = -S[j] / R;
                break;
            }
        }
        if (pacer.stopped()) break;
        ++report.passes;
        const int sek = pacer.split();
        R = rules::spiralFactor(R, sek, n);
        bool small = true;
        for (int j = 0; j < n; ++j) small = small && std::fabs(S[j]) < v.c[j].tol;
        if (rules::spiralStops(small, sek)) break;
        if (!pacer.check()) break;
    }
    report.objective = F;
    // The reversal may have left a coordinate one step past its bound; what is reported
    // lies inside the bounds the search declares.
    for (int j = 0; j < n; ++j) X[j] = std::clamp(X[j], v.c[j].lo, v.c[j].hi);
    finishPearsonFit(s, M, before, v, X, S, msg::spiralDone, QStringLiteral("1.1"), pacer, report);
    return report;
}

FitReport Podbor_Newton(AnalysisState& s, const FitSettings& set, FitClock& clock,
                        const ProgressFn& progress) {
    if (!set.valid()) return refused(set, msg::stepFactorLabel12);
    Mod_Weib& M = s.ModNewton;
    double R = set.Koef_Umen;
    const Vector v = pearsonVector(s, true);
    const int n = v.n;
    M.resizeArrays(s.Hist.size());
    const Snapshot before{M, s.Sred_Gar, s.SKO_Gar};
    Pacer pacer(s, clock, progress, msg::stageModel12);
    PearsonObjective objective(s, set.criterion);

    std::array<double, 5> X = v.starts(), S = v.steps();
    auto eval = [&] { return pearsonAt(objective, s, M, X); };

    FitReport report;
    double Fc = eval();
    pacer.evaluated();
    while (!pacer.stopped()) {
        for (int j = 0; j < n && !pacer.stopped(); ++j) {
            for (;;) {
                const double xs = X[j];
                X[j] = X[j] + S[j];
                const double F = eval();
                if (!pacer.evaluated()) break;
                const double next = X[j] + S[j];
                // The lower bound itself counts as outside for the next step.
                if (F < Fc && rules::newtonNextInside(next, v.c[j].lo, v.c[j].hi)) {
                    Fc = F;
                    continue;
                }
                X[j] = xs;
                S[j] = -S[j] / R;
                R = rules::newtonFactor(R, pacer.split(), n);
                break;
            }
        }
        if (pacer.stopped()) break;
        ++report.passes;
        // The current point is stored at every pass end.
        M.setParams(weibullAt(X.data()));
        storeSearchedWarranty(s, X.data());
        M.Executed = true;
        M.SKO = s.SKO_Gar;
        M.Sred = s.Sred_Gar;
        eval();
        if (!pacer.evaluated()) break;
        bool small = true;
        for (int j = 0; j < n; ++j) small = small && std::fabs(S[j]) < v.c[j].tol;
        if (small) break;
        if (!pacer.check()) break;
    }
    report.objective = Fc;
    // A search stopped by the safety limit inside its first pass still stores its point.
    finishPearsonFit(s, M, before, v, X, S, msg::newtonDone, QStringLiteral("1.2"), pacer, report);
    return report;
}

FitReport Podbor_Smirnov(AnalysisState& s, const FitSettings& set, FitClock& clock,
                         const ProgressFn& progress) {
    if (!set.valid()) return refused(set, msg::stepFactorLabel2);
    Mod_Weib& M = s.ModSmirnov;
    const Snapshot before{M, s.Sred_Gar, s.SKO_Gar};
    double R = set.Koef_Umen;
    const std::size_t nOtk = s.Otkazy.size();
    const std::size_t m = s.Hist.size();
    // Per failure during the search, per interval at the end: room for both.
    M.F_norm.resize(std::max(nOtk, m), 0.0);
    for (std::size_t i = 0; i < nOtk; ++i)
        M.F_norm[i] = Norm_Raspr(s.Sred_Gar, s.SKO_Gar, s.Otkazy[i].time);
    M.F_Weib.resize(m, 0.0);
    M.Kol_F_priv.resize(m, 0.0);
    Pacer pacer(s, clock, progress, msg::stageModel2);
    SmirnovObjective objective(s, M.F_norm);

    const Vector v = smirnovVector(s);
    std::array<double, 3> X{}, S{};
    for (int j = 0; j < 3; ++j) {
        X[j] = v.c[j].start;
        S[j] = v.c[j].step;
    }

    FitReport report;
    const auto at = [&] {
        const WeibullParams p = weibullAt(X.data());
        return objective(p.A, p.B, p.K);
    };
    double Fc = at();
    pacer.evaluated();
    while (!pacer.stopped()) {
        for (int j = 0; j < 3 && !pacer.stopped(); ++j) {
            for (;;) {
                const double xs = X[j];
                X[j] = X[j] + S[j];
                const double next = X[j] + S[j];
                const bool leaves = rules::smirnovNextLeaves(next, v.c[j].lo, v.c[j].hi);
                const double F = at();
                if (!pacer.evaluated()) break;
                if (F < Fc && !leaves) {
                    Fc = F;
                    continue;
                }
                X[j] = xs;
                S[j] = -S[j] / R;
                break;
            }
        }
        if (pacer.stopped()) break;
        ++report.passes;
        const int sek = pacer.split();
        R = rules::smirnovFactor(R, sek);
        if (rules::smirnovStops(sek, S[0], S[1], S[2])) break;
        if (!pacer.check()) break;
    }
    report.objective = Fc;
    if (pacer.cancelled) {
        M = before.model;
        finishReport(report, pacer);
        return report;
    }

    M.setParams(weibullAt(X.data()));
    M.SKO = s.SKO_Gar;
    M.Sred = s.Sred_Gar;
    fillModelArrays(s, M, true);
    M.Executed = true;
    Harakt_Modeli(s, M, s.T_Prirab);
    report.memo << pacer.doneText(msg::smirnovDone);
    reportDiagnostics(M, diagnose(s, v, X.data()), QStringLiteral("2"), report.memo);
    finishReport(report, pacer);
    return report;
}

} // namespace wf
