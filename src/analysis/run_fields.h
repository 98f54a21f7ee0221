#pragma once
// What a user types before a run, and the typed values the runs take: the one place where
// the texts of either run become numbers. A run reads its fields in a fixed order and stops
// at the first that is not a number, keeping what it stored before; the conversion here
// records every such field so that the run stops exactly where it reads the first of them.

#include "analysis/state.h"

#include <QString>

#include <vector>

namespace wf {

// The number fields of the runs, in the order the runs read them.
enum class RunField {
    WarrantyMean,
    WarrantySd,
    CountingPeriod,
    BurnIn,
    StepFactorSpiral,
    StepFactorNewton,
    StepFactorSmirnov,
    Confidence,
    Accuracy,
    Population,
    Generations
};

// A field whose text did not convert, with the conversion message.
struct FieldError {
    RunField field;
    QString message;
};

// The texts and ticks both runs start from.
struct RunFields {
    QString filePath;       // data file path
    QString warrantyMean;   // mean time of leaving warranty, h
    QString warrantySd;     // its SD, h
    QString countingPeriod; // counting period, h (checked, not kept)
    QString burnIn;         // burn-in time, h
    bool fitMean = false;   // search the warranty mean too
    bool fitSd = false;     // search the warranty SD too
};

// The values both runs start from.
struct RunStart {
    QString filePath;
    double warrantyMean = 0; // h
    double warrantySd = 0;   // h
    double countingPeriod = 0;
    double burnIn = 0; // h
    bool fitMean = false, fitSd = false;
    // Fields that did not convert; the run refuses at the first one it comes to read.
    std::vector<FieldError> unreadable;

    // The conversion error of `field`, or null when it holds a number.
    const FieldError* unreadableAt(RunField field) const;
    // `field` was given as a number by other means: it is readable now.
    void accept(RunField field);
};

// The texts and ticks of the main window the calculation run reads.
struct CalcFields : RunFields {
    QString stepFactorSpiral; // step reduction factors of models 1.1, 1.2 and 2
    QString stepFactorNewton;
    QString stepFactorSmirnov;
    bool spiral = true, newton = false, smirnov = false; // models ticked
    bool mle = false;                                    // model 3, maximum likelihood
    QString confidence = QStringLiteral("0.95");         // level of model 3's bounds
    BoundsMethod bounds = BoundsMethod::LikelihoodRatio; // how model 3's bounds are drawn
    int criterion = 1; // way of fitting models 1.1 and 1.2: 0, 1 or 2
};

// One deterministic model of the run: ticked, and its step reduction factor.
struct ModelChoice {
    bool ticked = false;
    double stepFactor = 1.00025;
};

// The typed settings of a calculation run.
struct CalcSettings : RunStart {
    ModelChoice spiral{true}, newton, smirnov; // models 1.1, 1.2 and 2
    bool mle = false;                          // model 3
    double confidence = 0.95;                  // level of model 3's bounds
    BoundsMethod bounds = BoundsMethod::LikelihoodRatio;
    int criterion = 1; // way of fitting models 1.1 and 1.2
};

// The texts and ticks of the main window a genetic run reads.
struct GeneticFields : RunFields {
    QString accuracy;    // accuracy
    QString population;  // population size
    QString generations; // generations
};

// The typed settings of a genetic run.
struct GeneticRunSettings : RunStart {
    double accuracy = 1e-7; // gene accuracy; sets the gene length
    int population = 3000;  // individuals
    int generations = 1500;
};

// Converts the fields; a text that is not a number is recorded, and the run stops where it
// reads the first of them (an unticked model's factor is never read).
CalcSettings readCalcSettings(const CalcFields& f);

// Converts the fields, recording those that are not numbers; the run stops at the first.
GeneticRunSettings readGeneticSettings(const GeneticFields& f);

// Stores the warranty mean and SD and the burn-in, in the run's order, up to an unreadable
// field: then gives its error, keeping the ones stored before it; null when all were stored.
const FieldError* storeRunStart(AnalysisState& s, const RunStart& r);

} // namespace wf
