#include "analysis/run_fields.h"

#include "format/messages.h"
#include "format/number_format.h"

namespace wf {

void FieldReader::number(RunField field, const QString& text, double& into) {
    if (const std::optional<double> v = fmt::parseNumber(text))
        into = *v;
    else
        errors_.push_back({field, msg::notANumber(text)});
}

void FieldReader::integer(RunField field, const QString& text, int& into) {
    if (const std::optional<int> v = fmt::parseInt(text))
        into = *v;
    else
        errors_.push_back({field, msg::notAnInteger(text)});
}

const FieldError* RunStart::unreadableAt(RunField field) const {
    for (const FieldError& e : unreadable)
        if (e.field == field) return &e;
    return nullptr;
}

void RunStart::accept(RunField field) {
    std::erase_if(unreadable, [field](const FieldError& e) { return e.field == field; });
}

RunStart readRunStart(FieldReader& reader, const RunFields& f) {
    RunStart r;
    r.filePath = f.filePath;
    r.fitMean = f.fitMean;
    r.fitSd = f.fitSd;
    reader.number(RunField::WarrantyMean, f.warrantyMean, r.warrantyMean);
    reader.number(RunField::WarrantySd, f.warrantySd, r.warrantySd);
    reader.number(RunField::CountingPeriod, f.countingPeriod, r.countingPeriod);
    reader.number(RunField::BurnIn, f.burnIn, r.burnIn);
    r.unreadable = reader.errors();
    return r;
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
