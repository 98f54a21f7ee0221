#include "stats/calculation_run.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/evaluation.h"
#include "stats/histogram.h"
#include "stats/mle_fit.h"

namespace wf {

bool Proverka_Dannyh(AnalysisState& s, const QString& filePath, QStringList& messages) {
    s.Put_Fajla = filePath;
    if (filePath.isEmpty()) {
        messages << msg::noDataPath;
        return false;
    }
    return s.Dannye_Gotovy;
}

namespace {

using Refusal = CalcOutcome::Refusal;

// Converts one field; on failure notes the message and gives false.
bool convert(const QString& text, double& out, CalcOutcome& r) {
    const auto v = fmt::parseNumber(text);
    if (!v) {
        r.refuse(Refusal::ConversionError, msg::notANumber(text));
        return false;
    }
    out = *v;
    return true;
}

using FitFn = FitReport (*)(AnalysisState&, const FitSettings&, FitClock&, const ProgressFn&);

// One ticked model: its factor, the fit, and the two evaluations. False ends the run.
bool runModel(AnalysisState& s, Mod_Weib& M, FitFn fit, const QString& factorText,
              const QString& factorLabel, int criterion, FitClock& clock,
              const ProgressFn& progress, CalcOutcome& r) {
    FitSettings set;
    set.criterion = criterion;
    if (!convert(factorText, set.Koef_Umen, r)) return false;
    if (!set.valid()) {
        r.refuse(Refusal::BadFactor, msg::badStepFactor(factorLabel, factorText));
        return false;
    }
    FitReport rep = fit(s, set, clock, progress);
    const bool cancelled = rep.end.how == Termination::Cancelled;
    r.memo << rep.memo;
    r.fits.push_back(std::move(rep));
    if (cancelled) {
        r.end = JobEnd::cancelled();
        return false;
    }
    Harakt_Modeli(s, M, s.T_Prirab);
    r.memo << Dover_Interval(s, M);
    return true;
}

// Model 3: the likelihood fit with its bounds, its log lines and evaluation.
bool runMle(AnalysisState& s, const QString& confidenceText, FitClock& clock,
            const ProgressFn& progress, CalcOutcome& r) {
    MleSettings set;
    if (!convert(confidenceText, set.confidence, r)) return false;
    if (!set.valid()) {
        r.refuse(Refusal::BadFactor, msg::badConfidence(confidenceText));
        return false;
    }
    const std::int64_t start = clock.nowUs();
    if (progress && !progress(Progress{msg::stageModel3, -1, 0})) {
        r.end = JobEnd::cancelled();
        return false;
    }
    const MleResult fit = fitMle(s, set);
    if (!storeMle(s, fit)) {
        r.refuse(Refusal::NoFailures, fit.message);
        return false;
    }
    r.memo << msg::mleDone + longTimeText(splitElapsed(clock.nowUs() - start)) + msg::elapsedUnits;
    r.memo << fmt::format(msg::mleLogLikelihoodFormat, {fit.logLikelihood});
    if (!fit.message.isEmpty()) r.memo << fit.message;
    r.memo << Dover_Interval(s, s.ModMLE);
    return true;
}

} // namespace

CalcOutcome runCalculation(AnalysisState& s, const CalcFields& f, FitClock& clock,
                           const ProgressFn& progress) {
    CalcOutcome r;
    double period = 0;
    if (!convert(f.warrantyMean, s.Sred_Gar, r) || !convert(f.warrantySd, s.SKO_Gar, r) ||
        !convert(f.countingPeriod, period, r) || !convert(f.burnIn, s.T_Prirab, r))
        return r;
    QStringList checkMessages;
    if (!Proverka_Dannyh(s, f.filePath, checkMessages)) {
        r.refuse(Refusal::NotReady, checkMessages.isEmpty() ? QString() : checkMessages.last());
        return r;
    }
    s.Podbor_SKO = f.fitSd;
    s.Podbor_Sred = f.fitMean;
    if (s.Otkazy.empty()) {
        r.refuse(Refusal::NoFailures, msg::noFailuresLoaded);
        return r;
    }
    if (!Postr_Gist(s)) {
        r.refuse(Refusal::NoFailures, msg::badFailureTimes);
        return r;
    }
    if (f.spiral && !runModel(s, s.ModSpir, &Podbor_Spiral, f.stepFactorSpiral,
                              msg::stepFactorLabel11, f.criterion, clock, progress, r))
        return r;
    if (f.newton && !runModel(s, s.ModNewton, &Podbor_Newton, f.stepFactorNewton,
                              msg::stepFactorLabel12, f.criterion, clock, progress, r))
        return r;
    if (f.smirnov && !runModel(s, s.ModSmirnov, &Podbor_Smirnov, f.stepFactorSmirnov,
                               msg::stepFactorLabel2, f.criterion, clock, progress, r))
        return r;
    if (f.mle && !runMle(s, f.confidence, clock, progress, r)) return r;
    return r;
}

} // namespace wf
