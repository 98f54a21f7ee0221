#pragma once
// Printing a window's image: its client area as drawn on the screen, scaled to the page
// and keeping its proportions.

class QPrinter;
class QWidget;

namespace wf::ui {

// A printer preset as the print buttons want it: default printer, landscape.
void prepareLandscape(QPrinter& printer);

// Paints the image of `window` onto one page of `printer`. false when the printer
// cannot be opened (no printer installed, unwritable file).
bool printWindowImage(QWidget* window, QPrinter& printer);

} // namespace wf::ui
