#pragma once
// Reading the input files for a command.

#include "analysis/failure_file.h"
#include "analysis/state.h"

namespace wf::cli {

// Reads a failure data file into `s` as the window's "Путь" does, without remembering the
// path in the window's settings file. Messages go to stderr; false when the file was
// refused (the command then ends with exit code 1).
bool loadDataFile(AnalysisState& s, const QString& path, LoadResult& result);

// The same, then the failure-flow histogram; false (message on stderr) when either fails.
bool loadWithHistogram(AnalysisState& s, const QString& path);

} // namespace wf::cli
