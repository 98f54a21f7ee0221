#include "cli/commands.h"
#include "cli/data_files.h"
#include "cli/json_out.h"
#include "cli/text_out.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/histogram.h"

namespace wf::cli {

int runHistogram(const LoadOptions& o) {
    AnalysisState s;
    if (!loadWithHistogram(s, o.file)) return kExitDataError;
    if (o.json) {
        printJson(
            {{"Shag_Nach", s.Shag_Nach}, {"Shag_Dal", s.Shag_Dal}, {"Hist", histJson(s.Hist)}});
        return kExitOk;
    }
    printPairs({{QStringLiteral("Shag_Nach"), QString::number(s.Shag_Nach)},
                {QStringLiteral("Shag_Dal"), QString::number(s.Shag_Dal)},
                {QStringLiteral("Интервалов"), QString::number(s.Hist.size())}});
    out();
    // Only causes that occur get a column.
    std::vector<int> used;
    for (int j = 0; j < kNprSize; ++j)
        for (const Hist_Rec& h : s.Hist)
            if (h.Npr[static_cast<std::size_t>(j)] != 0) {
                used.push_back(j);
                break;
            }
    std::vector<std::vector<QString>> rows;
    std::vector<QString> head{QStringLiteral("time"), QStringLiteral("Sum")};
    for (int j : used)
        head.push_back(j < static_cast<int>(s.Vidy_Otk_Sort.size())
                           ? s.Vidy_Otk_Sort[static_cast<std::size_t>(j)].Nazv_Prich
                           : QStringLiteral("Npr[%1]").arg(j));
    rows.push_back(head);
    for (const Hist_Rec& h : s.Hist) {
        std::vector<QString> row{fmt::general(h.time), QString::number(h.Sum)};
        for (int j : used) row.push_back(QString::number(h.Npr[static_cast<std::size_t>(j)]));
        rows.push_back(row);
    }
    printTable(rows, std::vector<bool>(head.size(), true));
    return kExitOk;
}

} // namespace wf::cli
