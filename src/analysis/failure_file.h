#pragma once
// The failure data file: reading it into the analysis state, assigning and ordering the
// causes, and the summary drawn right after loading (failure table, thresholds, the
// accumulated-failure chart and its log-log line).

#include "analysis/chart_point.h"
#include "analysis/state.h"
#include "core/job_end.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <array>
#include <optional>
#include <utility>
#include <vector>

namespace wf {

// Texts the loader puts into main-window fields.
struct MainFields {
    QString filePath;          // the data file's path
    QString caption;           // the data set's caption (comment line and counts)
    QString warrantyMean;      // mean time of leaving warranty, h
    QString warrantySd;        // its standard deviation, h
    QString fleetSize;         // products observed
    QString failureCount;      // failures besides "Брак"
    QString countingPeriod;    // the period the failures were counted over, h
    QString stepFactorSpiral;  // step reduction factor of model 1.1
    QString stepFactorNewton;  // step reduction factor of model 1.2
    QString stepFactorSmirnov; // step reduction factor of model 2
    QString accuracy;          // accuracy of the genetic search
    std::optional<QString>
        generations; // nullopt: leave the field unchanged (more than 99999 lines)
};

struct LoadSummary {
    // Failure index -> label appended to its cause name (a later label on the same row
    // replaces the earlier one).
    std::vector<std::pair<int, QString>> thresholdRows;
    std::vector<ChartPoint> points; // Chart2 series 0 (green)
    std::vector<ChartPoint> line;   // Chart2 series 1 (red); empty when the line is undefined
};

struct LoadResult {
    // Done, or Refused (the last message says why) with the state exactly as before.
    JobEnd end{Termination::Refused, {}};
    QStringList messages; // message boxes to show, in order (per-line errors, refusals)
    MainFields fields;
    LoadSummary summary;
};

// Reads a failure data file into `state` (load + load-time summary, one user action).
// On success the settings file remembers `path`. On refusal (empty path, missing or
// unreadable file, broken header, more than 50 causes, fleet size not positive, no failure
// line) nothing in `state` changes and the last message says why.
LoadResult OpenFailureFile(AnalysisState& state, const QString& path);

// The same without the empty-path check and without remembering the path.
LoadResult readFailureFile(AnalysisState& state, const QString& path);

// The same on bytes already read; `path` only names the file in messages and fields.
// Does not touch the settings file.
LoadResult parseFailureFile(AnalysisState& state, const QByteArray& bytes, const QString& path);

// Orders failures by time; equal times keep their order.
void Sort_Otkazy(std::vector<Problems>& otkazy);

// Failure table texts, one row at a time (the table may hold 100,000 rows).
std::array<QString, 4> problemsGridHeader();
std::array<int, 4> problemsGridWidths(); // pixels: 65, 85, 200, 1010
// Row i + 1 of the table: failure number, time, cause name (+ threshold label), description.
std::array<QString, 4> problemsGridRow(const AnalysisState& s, const LoadSummary& sum,
                                       int failureIndex);

} // namespace wf
