#pragma once
// Tables as delimited text, for CSV files and the clipboard: the cells the windows show,
// without the spaces the tables pad them with.

#include "analysis/failure_file.h"
#include "analysis/state.h"
#include "results/results_data.h"

#include <QChar>
#include <QString>

#include <vector>

namespace wf {

using TextRows = std::vector<std::vector<QString>>;

inline constexpr QChar kCsvSeparator = QLatin1Char(';');
inline constexpr QChar kClipboardSeparator = QLatin1Char('\t');

// The cell's text without the spaces at either end (a line break inside stays).
QString unpadded(const QString& cell);

// One line per row, each ending in '\n'; cells unpadded and joined by `separator`. A cell
// holding the separator, a double quote, CR or LF is put in double quotes, its quotes doubled.
QString delimitedText(const TextRows& rows, QChar separator);

// The results table as the window shows it: every row, the columns from the row labels to
// the data column, cells unpadded (a value and its bounds keep their line break).
TextRows resultsTableCells(const ResultsData& r);

// The failure table as loaded: the header row, then one row per failure, four cells each.
TextRows failureTableCells(const AnalysisState& s, const LoadSummary& sum);

} // namespace wf
