#pragma once
// The external optimizer: a separate program that fits A, B and K from the data file.
// We start it, wait for it (cancellable, bounded), read the three numbers it leaves in
// the result file and turn them into the model ModExt.

#include "analysis/state.h"
#include "core/fit_clock.h"
#include "core/job_end.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <chrono>
#include <functional>

namespace wf {

struct ExternalSettings {
    // Default: weibflow-optimizer next to the program, unless the settings file names
    // another (section "Optimizer", key "Path").
    QString optimizerPath;
    // Settings file section "Optimizer", key "TimeoutMinutes", default 10.
    std::chrono::milliseconds timeout{10 * 60 * 1000};
};

// Reads the optimizer settings from settingsFilePath() (INI); defaults where missing or bad.
ExternalSettings readExternalSettings();
// The same from a given INI file. A relative Path is taken next to the program; a
// TimeoutMinutes that is not a positive number (at most a week) keeps the default.
ExternalSettings readExternalSettings(const QString& iniPath);

// The optimizer program next to our own executable.
QString defaultOptimizerPath();

// "optymum.txt" in the user's private runtime folder (created with mode 0700).
QString resultFilePath();

struct ExternalResult {
    // What went wrong when the job Failed.
    enum class Problem { None, StartFailed, Crashed, NonZeroExit, NoResultFile, BadResult };
    // Done; Cancelled on request; LimitReached by the timeout; Failed with `problem`. The
    // message is the Russian text for the user.
    JobEnd end;
    Problem problem = Problem::None;
    double A = 0, B = 0, K = 0;
};

// Blocking. Deletes the result file, starts the optimizer with the single argument
// `filePath` (no shell), WEIBFLOW_RESULT_FILE=resultFilePath() in its environment, and
// waits, reporting progress about every 50 ms (false: kill, Cancelled) and killing it
// after `set.timeout` (LimitReached). On a clean exit reads the result file. Touches no
// analysis state: safe on a worker thread.
ExternalResult runExternalOptimizer(const QString& filePath, const ExternalSettings& set,
                                    const ProgressFn& progress = {});

// The first three lines of the result file as A, B, K: blanks and tabs around are
// trimmed, "." or "," is the decimal mark, later lines are ignored. false and a message
// naming the line when a line is missing or not a number (or the file cannot be read).
bool readResultFile(const QString& path, double& A, double& B, double& K, QString& error);
bool parseResultText(const QByteArray& text, double& A, double& B, double& K, QString& error);

// On the UI thread after Done: rebuilds Hist, fills and evaluates ModExt, and returns the
// log lines in order (confidence line, "Расчёт модели Golang выполнен", the A/B/K line).
// With no failures loaded returns nothing and leaves the state untouched.
QStringList applyExternalModel(AnalysisState& s, double A, double B, double K);

} // namespace wf
