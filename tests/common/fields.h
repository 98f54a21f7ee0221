#pragma once
// What a user puts in before a run, written once for every test: the field texts of a
// calculation run and of a genetic run, and where the external optimizer is.

#include "analysis/run_fields.h"
#include "external/external_settings.h"
#include "format/number_format.h"

#include <QString>

#include <chrono>
#include <tuple>

namespace wf::test {

// Texts of a fleet loaded from "fleet.txt" with a warranty of 3000 +- 800 h; the counting
// period follows the warranty mean unless given.
struct RunTexts {
    QString path = QStringLiteral("fleet.txt");
    QString mean = QStringLiteral("3000");
    QString sd = QStringLiteral("800");
    QString period = mean;
    QString burnIn = QStringLiteral("300");
};

// Step factors of models 1.1 and 1.2 and of model 2 (coarse: quick fits); with
// `allModels` the three are ticked, otherwise the ticks stay as CalcFields has them.
struct CalcTexts {
    QString factor = fmt::general(1.01);
    QString smirnovFactor = factor;
    bool allModels = false;
};

// The texts both runs read, put into either run's fields.
template <class Fields> Fields runFields(const RunTexts& run) {
    Fields f;
    std::tie(f.filePath, f.warrantyMean, f.warrantySd, f.countingPeriod, f.burnIn) =
        std::tie(run.path, run.mean, run.sd, run.period, run.burnIn);
    return f;
}

inline CalcFields calcFields(const RunTexts& run = {}, const CalcTexts& calc = {}) {
    CalcFields f = runFields<CalcFields>(run);
    f.stepFactorSpiral = f.stepFactorNewton = calc.factor;
    f.stepFactorSmirnov = calc.smirnovFactor;
    if (calc.allModels) f.spiral = f.newton = f.smirnov = true;
    return f;
}

// Accuracy, population and generations; the window starts with 3000 and 1500.
struct GeneticTexts {
    QString accuracy = fmt::general(1e-7);
    QString population = QStringLiteral("3000");
    QString generations = QStringLiteral("1500");
};

inline GeneticFields geneticFields(const RunTexts& run = {}, const GeneticTexts& gen = {}) {
    GeneticFields f = runFields<GeneticFields>(run);
    f.accuracy = gen.accuracy;
    f.population = gen.population;
    f.generations = gen.generations;
    return f;
}

// The external optimizer at `program`, given `timeout` to answer.
inline ExternalSettings optimizerAt(const QString& program, std::chrono::milliseconds timeout) {
    ExternalSettings s;
    s.optimizerPath = program;
    s.timeout = timeout;
    return s;
}

} // namespace wf::test
