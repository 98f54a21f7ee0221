#pragma once
// Plain-text output of the commands: lines, aligned tables, name/value lists.

#include <QString>
#include <QStringList>

#include <utility>
#include <vector>

namespace wf::cli {

void out(const QString& line = QString());
// The text as it is, in UTF-8, no line break added.
void outText(const QString& text);
void err(const QString& line);
void errAll(const QStringList& lines);

// Rows of cells in columns as wide as their widest cell (in characters), two spaces
// between columns, trailing blanks dropped. Columns flagged in `right` align right.
void printTable(const std::vector<std::vector<QString>>& rows, const std::vector<bool>& right = {});

// "name: value" lines with the values lined up.
void printPairs(const std::vector<std::pair<QString, QString>>& pairs);

// A number as plain number text; "—" for a value that is not finite.
QString numberText(double v);

} // namespace wf::cli
