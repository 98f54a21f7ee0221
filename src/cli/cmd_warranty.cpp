#include "cli/commands.h"
#include "cli/json_out.h"
#include "cli/report.h"

#include "analysis/warranty_file.h"

namespace wf::cli {

int runWarranty(const WarrantyOptions& o) {
    AnalysisState s;
    const WarrantyResult r = ReadWarrantyFile(s, o.file);
    errAll(r.messages);
    if (!r.ok) return kExitDataError;
    const WarrantyFields& f = r.fields;
    if (o.json) {
        printJson({{"count", r.count},
                   {"Sred_Gar", number(s.Sred_Gar)},
                   {"SKO_Gar", number(s.SKO_Gar)},
                   {"Kommentarij", text(s.Kommentarij)},
                   {"fields",
                    {{"meSred", text(f.meSred)},
                     {"meSKO", text(f.meSKO)},
                     {"MaskEdit1", text(f.MaskEdit1)},
                     {"MaskEditSrednee", text(f.MaskEditSrednee)},
                     {"MaskEditSKO", text(f.MaskEditSKO)},
                     {"Edit4", text(f.Edit4)},
                     {"Label15", text(f.Label15)}}},
                   {"messages", texts(r.messages)}});
        return kExitOk;
    }
    out(f.Label15);
    out();
    printPairs({{QStringLiteral("Файл"), f.Edit4},
                {QStringLiteral("Количество объектов анализа"), f.MaskEdit1},
                {QStringLiteral("Среднее время гарантии, ч."), f.MaskEditSrednee},
                {QStringLiteral("СКО времени гарантии, ч."), f.MaskEditSKO},
                {QStringLiteral("Среднее время гарантии"), f.meSred},
                {QStringLiteral("СКО времени гарантии"), f.meSKO}});
    return kExitOk;
}

} // namespace wf::cli
