#include "results/table_text.h"

#include <algorithm>

namespace wf {

QString unpadded(const QString& cell) {
    qsizetype from = 0, to = cell.size();
    while (from < to && cell[from] == QLatin1Char(' ')) ++from;
    while (to > from && cell[to - 1] == QLatin1Char(' ')) --to;
    return cell.mid(from, to - from);
}

namespace {

QString field(const QString& cell, QChar separator) {
    const QString t = unpadded(cell);
    const bool quote = t.contains(separator) || t.contains(QLatin1Char('"')) ||
                       t.contains(QLatin1Char('\r')) || t.contains(QLatin1Char('\n'));
    if (!quote) return t;
    return QLatin1Char('"') + QString(t).replace(QLatin1Char('"'), QStringLiteral("\"\"")) +
           QLatin1Char('"');
}

} // namespace

QString delimitedText(const TextRows& rows, QChar separator) {
    QString out;
    for (const auto& row : rows) {
        for (std::size_t c = 0; c < row.size(); ++c) {
            if (c > 0) out += separator;
            out += field(row[c], separator);
        }
        out += QLatin1Char('\n');
    }
    return out;
}

TextRows resultsTableCells(const ResultsData& r) {
    const int last = std::clamp(r.dataColumn, 0, kResultColumns - 1);
    TextRows rows(kResultRows);
    for (int row = 0; row < kResultRows; ++row)
        for (int c = 0; c <= last; ++c)
            rows[static_cast<std::size_t>(row)].push_back(
                unpadded(r.grid[static_cast<std::size_t>(c)][static_cast<std::size_t>(row)]));
    return rows;
}

TextRows failureTableCells(const AnalysisState& s, const LoadSummary& sum) {
    TextRows rows;
    rows.reserve(s.Otkazy.size() + 1);
    const auto add = [&rows](const std::array<QString, 4>& r) {
        rows.emplace_back(r.begin(), r.end());
    };
    add(problemsGridHeader());
    for (int i = 0; i < static_cast<int>(s.Otkazy.size()); ++i) add(problemsGridRow(s, sum, i));
    return rows;
}

} // namespace wf
