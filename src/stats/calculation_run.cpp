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

// True when `field` did not convert: the run refuses where it would have read it.
bool unreadable(const CalcSettings& set, RunField field, CalcOutcome& r) {
    const FieldError* e = set.unreadableAt(field);
    if (e) r.refuse(Refusal::ConversionError, e->message, field);
    return e != nullptr;
}

using FitFn = FitReport (*)(AnalysisState&, const FitSettings&, FitClock&, const ProgressFn&);

// One ticked model: its factor, the fit, and the two evaluations. False ends the run.
bool runModel(AnalysisState& s, Mod_Weib& M, FitFn fit, double factor, const QString& label,
              RunField field, int criterion, FitClock& clock, const ProgressFn& progress,
              CalcOutcome& r) {
    FitSettings set;
    set.criterion = criterion;
    set.Koef_Umen = factor;
    set.label = label;
    QString why;
    if (!set.valid(&why)) {
        r.refuse(Refusal::BadFactor, why, field);
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
bool runMle(AnalysisState& s, double confidence, BoundsMethod bounds, FitClock& clock,
            const ProgressFn& progress, CalcOutcome& r) {
    MleSettings set;
    set.confidence = confidence;
    set.method = bounds;
    QString why;
    if (!set.valid(&why)) {
        r.refuse(Refusal::BadFactor, why, RunField::Confidence);
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
    if (!fit.message.isEmpty()) r.memo << fit.message.split(QLatin1Char('\n'));
    r.memo << Dover_Interval(s, s.ModMLE);
    return true;
}

} // namespace

CalcOutcome runCalculation(AnalysisState s, const CalcSettings& set, FitClock& clock,
                           const ProgressFn& progress) {
    const CalcWrites before = CalcWrites::of(s);
    CalcOutcome r = runCalculationSteps(s, set, clock, progress);
    r.writes = CalcWrites::changed(before, s);
    return r;
}

CalcOutcome runCalculationSteps(AnalysisState& s, const CalcSettings& set, FitClock& clock,
                                const ProgressFn& progress) {
    CalcOutcome r;
    if (const FieldError* e = storeRunStart(s, set)) {
        r.refuse(Refusal::ConversionError, e->message, e->field);
        return r;
    }
    QStringList checkMessages;
    if (!Proverka_Dannyh(s, set.filePath, checkMessages)) {
        r.refuse(Refusal::NotReady, checkMessages.isEmpty() ? QString() : checkMessages.last());
        return r;
    }
    s.Podbor_SKO = set.fitSd;
    s.Podbor_Sred = set.fitMean;
    if (s.Otkazy.empty()) {
        r.refuse(Refusal::NoFailures, msg::noFailuresLoaded);
        return r;
    }
    if (!Postr_Gist(s)) {
        r.refuse(Refusal::NoFailures, msg::badFailureTimes);
        return r;
    }
    struct Step {
        const ModelChoice& choice;
        RunField field;
        Mod_Weib& model;
        FitFn fit;
        const QString& label;
    };
    const Step steps[] = {
        {set.spiral, RunField::StepFactorSpiral, s.ModSpir, &Podbor_Spiral, msg::stepFactorLabel11},
        {set.newton, RunField::StepFactorNewton, s.ModNewton, &Podbor_Newton,
         msg::stepFactorLabel12},
        {set.smirnov, RunField::StepFactorSmirnov, s.ModSmirnov, &Podbor_Smirnov,
         msg::stepFactorLabel2},
    };
    for (const Step& m : steps) {
        if (!m.choice.ticked) continue;
        if (unreadable(set, m.field, r) ||
            !runModel(s, m.model, m.fit, m.choice.stepFactor, m.label, m.field, set.criterion,
                      clock, progress, r))
            return r;
    }
    if (set.mle && (unreadable(set, RunField::Confidence, r) ||
                    !runMle(s, set.confidence, set.bounds, clock, progress, r)))
        return r;
    return r;
}

} // namespace wf
