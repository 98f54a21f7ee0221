#pragma once
// Taking a table away: Ctrl+C copies the selected cells as tab-separated text, and a
// table is saved as a CSV file.

#include "results/table_text.h"

#include <QString>

class QAbstractItemModel;
class QAbstractItemView;
class QWidget;

namespace wf::ui {

// After this, the copy key in `view` puts selectedCells(view) on the clipboard as
// tab-separated text instead of the current cell alone.
void enableTableCopy(QAbstractItemView* view);

// The rectangle spanned by the selection, shown rows and columns only; a cell inside it
// that is not selected is empty. No selection: no rows.
TextRows selectedCells(const QAbstractItemView* view);

// Every cell of the model's top level, as its display text.
TextRows modelCells(const QAbstractItemModel* model);

// The rows as CSV in UTF-8, written whole or not at all (an existing file stays as it
// was); false when the file cannot be written.
bool writeCsvFile(const QString& path, const TextRows& rows);

// The save dialog for a CSV file with `caption`; empty when the user cancels.
QString askCsvPath(QWidget* parent, const QString& caption);

} // namespace wf::ui
