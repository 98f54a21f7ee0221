#include "analysis/run_fields.h"

#include "format/messages.h"
#include "format/number_format.h"

#include <optional>

namespace wf {

namespace {

// Converts field texts; a text that is not a number leaves its target as it was and is
// recorded with its message.
class FieldReader {
public:
    void number(RunField field, const QString& text, double& into) {
        if (const std::optional<double> v = fmt::parseNumber(text))
            into = *v;
        else
            errors_.push_back({field, msg::notANumber(text)});
    }
    void integer(RunField field, const QString& text, int& into) {
        if (const std::optional<int> v = fmt::parseInt(text))
            into = *v;
        else
            errors_.push_back({field, msg::notAnInteger(text)});
    }
    const std::vector<FieldError>& errors() const { return errors_; }

private:
    std::vector<FieldError> errors_;
};

// The four leading fields, path and ticks, shared by both runs.
void readRunStart(FieldReader& reader, const RunFields& f, RunStart& r) {
    r.filePath = f.filePath;
    r.fitMean = f.fitMean;
    r.fitSd = f.fitSd;
    reader.number(RunField::WarrantyMean, f.warrantyMean, r.warrantyMean);
    reader.number(RunField::WarrantySd, f.warrantySd, r.warrantySd);
    reader.number(RunField::CountingPeriod, f.countingPeriod, r.countingPeriod);
    reader.number(RunField::BurnIn, f.burnIn, r.burnIn);
}

} // namespace

const FieldError* RunStart::unreadableAt(RunField field) const {
    for (const FieldError& e : unreadable)
        if (e.field == field) return &e;
    return nullptr;
}

void RunStart::accept(RunField field) {
    std::erase_if(unreadable, [field](const FieldError& e) { return e.field == field; });
}

CalcSettings readCalcSettings(const CalcFields& f) {
    FieldReader reader;
    CalcSettings set;
    readRunStart(reader, f, set);
    set.spiral.ticked = f.spiral;
    set.newton.ticked = f.newton;
    set.smirnov.ticked = f.smirnov;
    set.mle = f.mle;
    set.bounds = f.bounds;
    set.criterion = f.criterion;
    reader.number(RunField::StepFactorSpiral, f.stepFactorSpiral, set.spiral.stepFactor);
    reader.number(RunField::StepFactorNewton, f.stepFactorNewton, set.newton.stepFactor);
    reader.number(RunField::StepFactorSmirnov, f.stepFactorSmirnov, set.smirnov.stepFactor);
    reader.number(RunField::Confidence, f.confidence, set.confidence);
    set.unreadable = reader.errors();
    return set;
}

GeneticRunSettings readGeneticSettings(const GeneticFields& f) {
    FieldReader reader;
    GeneticRunSettings set;
    readRunStart(reader, f, set);
    reader.number(RunField::Accuracy, f.accuracy, set.accuracy);
    reader.integer(RunField::Population, f.population, set.population);
    reader.integer(RunField::Generations, f.generations, set.generations);
    set.unreadable = reader.errors();
    return set;
}

const FieldError* storeRunStart(AnalysisState& s, const RunStart& r) {
    if (const FieldError* e = r.unreadableAt(RunField::WarrantyMean)) return e;
    s.Sred_Gar = r.warrantyMean;
    if (const FieldError* e = r.unreadableAt(RunField::WarrantySd)) return e;
    s.SKO_Gar = r.warrantySd;
    if (const FieldError* e = r.unreadableAt(RunField::CountingPeriod)) return e;
    if (const FieldError* e = r.unreadableAt(RunField::BurnIn)) return e;
    s.T_Prirab = r.burnIn;
    return nullptr;
}

} // namespace wf
