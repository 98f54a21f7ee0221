#pragma once
// Printing a window: its content widgets drawn by a painter on the printer, so text and
// lines come out at the printer's resolution, scaled to the page and keeping proportions.

#include <QList>

class QPrinter;
class QWidget;

namespace wf::ui {

// A printer preset as the print buttons want it: default printer, landscape.
void prepareLandscape(QPrinter& printer);

// Draws `parts` (children of `window`, where they stand in it) on one page of `printer`,
// on white, leaving out everything else (the buttons). false, after a message box, when
// the printer cannot be opened (no printer installed, unwritable file).
bool printWidgets(QWidget* window, const QList<QWidget*>& parts, QPrinter& printer);

} // namespace wf::ui
