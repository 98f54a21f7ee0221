#include "cli/commands.h"
#include "cli/data_files.h"
#include "cli/json_out.h"
#include "cli/text_out.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "results/table_text.h"

namespace wf::cli {

namespace {

json fieldsJson(const MainFields& f) {
    return {{"warranty_mean", text(f.warrantyMean)},
            {"warranty_sd", text(f.warrantySd)},
            {"fleet_size", text(f.fleetSize)},
            {"failure_count", text(f.failureCount)},
            {"counting_period", text(f.countingPeriod)},
            {"step_factor_spiral", text(f.stepFactorSpiral)},
            {"step_factor_newton", text(f.stepFactorNewton)},
            {"step_factor_smirnov", text(f.stepFactorSmirnov)},
            {"accuracy", text(f.accuracy)},
            {"generations", f.generations ? text(*f.generations) : json(nullptr)}};
}

json loadJson(const AnalysisState& s, const LoadResult& r) {
    const bool line = s.Line_Defined;
    return {{"Kommentarij", text(s.Kommentarij)},
            {"Sred_Gar", number(s.Sred_Gar)},
            {"SKO_Gar", number(s.SKO_Gar)},
            {"Kol_All", number(s.Kol_All)},
            {"Park", number(s.Park)},
            {"Kol_Otk", s.Kol_Otk},
            {"Kol_Otk_Bez_Braka", s.Kol_Otk_Bez_Braka},
            {"Kol_Prich", s.Kol_Prich},
            {"N_Perv_Otk", s.N_Perv_Otk},
            {"T10", number(s.T10)},
            {"T50_Nabl", number(s.T50_Nabl)},
            {"T50_Cens", number(s.T50_Cens)},
            {"Otk_2000", number(s.Otk_2000)},
            {"Naklon_LN", line ? number(s.Naklon_LN) : json(nullptr)},
            {"Sdvig_LN", line ? number(s.Sdvig_LN) : json(nullptr)},
            {"Vidy_Otk", causesJson(s.Vidy_Otk)},
            {"Vidy_Otk_Sort", causesJson(s.Vidy_Otk_Sort)},
            {"Otkazy", otkazyJson(s.Otkazy)},
            {"failure_table", rowsJson(failureTableCells(s, r.summary))},
            {"fields", fieldsJson(r.fields)},
            {"messages", texts(r.messages)}};
}

void loadReport(const AnalysisState& s, const LoadResult& r) {
    const MainFields& f = r.fields;
    out(f.caption);
    out();
    printPairs(
        {{QStringLiteral("Файл исходных данных"), f.filePath},
         {QStringLiteral("Среднее время гарантии"), f.warrantyMean},
         {QStringLiteral("СКО времени гарантии"), f.warrantySd},
         {QStringLiteral("Среднее количество объектов в гарантийный период"), f.fleetSize},
         {QStringLiteral("Количество независимых отказов 2-3 групп сложности"), f.failureCount},
         {QStringLiteral("Число поколений"), f.generations.value_or(QString())}});
    out();
    std::vector<std::vector<QString>> causes{
        {QStringLiteral("№"), QStringLiteral("Источник отказа"), QStringLiteral("Отказов")}};
    for (std::size_t j = 0; j < s.Vidy_Otk_Sort.size(); ++j)
        causes.push_back({QString::number(j), s.Vidy_Otk_Sort[j].Nazv_Prich,
                          fmt::general(s.Vidy_Otk_Sort[j].Dolya)});
    printTable(causes, {true, false, true});
    out();
    const bool line = s.Line_Defined;
    printPairs({{QStringLiteral("T10"), numberText(s.T10)},
                {QStringLiteral("T50_Nabl"), numberText(s.T50_Nabl)},
                {QStringLiteral("T50_Cens"), numberText(s.T50_Cens)},
                {QStringLiteral("Otk_2000"), numberText(s.Otk_2000)},
                {QStringLiteral("N_Perv_Otk"), QString::number(s.N_Perv_Otk)},
                {QStringLiteral("Naklon_LN"), line ? numberText(s.Naklon_LN) : QStringLiteral("—")},
                {QStringLiteral("Sdvig_LN"), line ? numberText(s.Sdvig_LN) : QStringLiteral("—")}});
    out();
    printTable(failureTableCells(s, r.summary), {true, true, false, false});
}

} // namespace

int runLoad(const LoadOptions& o) {
    if (o.json && o.csv) {
        err(msg::cliCsvWithJson);
        return kExitUsage;
    }
    AnalysisState s;
    LoadResult r;
    if (!loadDataFile(s, o.file, r)) return kExitDataError;
    if (o.json)
        printJson(loadJson(s, r));
    else if (o.csv)
        outText(delimitedText(failureTableCells(s, r.summary), kCsvSeparator));
    else
        loadReport(s, r);
    return kExitOk;
}

} // namespace wf::cli
