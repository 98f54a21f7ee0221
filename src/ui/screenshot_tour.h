#pragma once
// A scripted pass through the windows for the documentation pictures: load a file, run
// models 1.1, 1.2 and 2, and save images of the main window, the results window and the
// log-scale view; then quit.

#include <QString>

namespace wf::ui {

class TForm1;
class TForm5;

void startScreenshotTour(TForm1& main, TForm5& results, const QString& dataFile,
                         const QString& outDir);

} // namespace wf::ui
