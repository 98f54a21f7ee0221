#include "cli/commands.h"
#include "cli/json_out.h"
#include "cli/text_out.h"

#include "analysis/warranty_file.h"

namespace wf::cli {

int runWarranty(const WarrantyOptions& o) {
    AnalysisState s;
    const WarrantyResult r = ReadWarrantyFile(s, o.file);
    errAll(r.messages);
    if (!r.end.done()) return kExitDataError;
    const WarrantyFields& f = r.fields;
    if (o.json) {
        printJson({{"count", r.count},
                   {"Sred_Gar", number(s.Sred_Gar)},
                   {"SKO_Gar", number(s.SKO_Gar)},
                   {"Kommentarij", text(s.Kommentarij)},
                   {"fields",
                    {{"warranty_mean", text(f.warrantyMean)},
                     {"warranty_sd", text(f.warrantySd)},
                     {"count", text(f.count)},
                     {"mean", text(f.mean)},
                     {"sd", text(f.sd)},
                     {"file", text(f.fileText)},
                     {"caption", text(f.caption)}}},
                   {"messages", texts(r.messages)}});
        return kExitOk;
    }
    out(f.caption);
    out();
    printPairs({{QStringLiteral("Файл"), f.fileText},
                {QStringLiteral("Количество объектов анализа"), f.count},
                {QStringLiteral("Среднее время гарантии, ч."), f.mean},
                {QStringLiteral("СКО времени гарантии, ч."), f.sd},
                {QStringLiteral("Среднее время гарантии"), f.warrantyMean},
                {QStringLiteral("СКО времени гарантии"), f.warrantySd}});
    return kExitOk;
}

} // namespace wf::cli
