#pragma once
// `weibflow --report OUT.pdf`: the windows' own load and fit handlers run offscreen on a
// file, then the results window writes its report, for scripts.

#include <QString>
#include <QStringList>

namespace wf::ui {

class TForm1;
class TForm5;

struct ReportRun {
    QString output, dataFile;
    QStringList models; // as weibflow-cli fit --models names them
};

enum ReportExit : int { kReportOk = 0, kReportDataError = 1, kReportUsage = 2 };

// Checks the model names; an empty text when they are all known, else the message.
QString checkReportModels(const QStringList& models);

// Loads, fits the models asked for and writes the report. Messages the windows would show
// go to stderr; the exit code says how it ended.
int runReport(TForm1& main, TForm5& results, const ReportRun& run);

} // namespace wf::ui
