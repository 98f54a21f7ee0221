#pragma once
// What a user types before a run, and the typed values the runs take. A run reads its
// fields in a fixed order and stops at the first that is not a number, keeping what it
// stored before; the conversion here records every such field so that the run stops
// exactly where it reads the first of them.

#include "analysis/state.h"

#include <QString>

#include <optional>
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

// Converts field texts; a text that is not a number leaves its target as it was and is
// recorded with its message.
class FieldReader {
public:
    void number(RunField field, const QString& text, double& into);
    void integer(RunField field, const QString& text, int& into);
    const std::vector<FieldError>& errors() const { return errors_; }

private:
    std::vector<FieldError> errors_;
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

// Converts the four leading fields and copies path and ticks.
RunStart readRunStart(FieldReader& reader, const RunFields& f);

// Stores the warranty mean and SD and the burn-in, in the run's order, up to an unreadable
// field: then gives its error, keeping the ones stored before it; null when all were stored.
const FieldError* storeRunStart(AnalysisState& s, const RunStart& r);

} // namespace wf
