#include "cli/data_files.h"

#include "cli/text_out.h"
#include "format/messages.h"
#include "stats/histogram.h"

namespace wf::cli {

bool loadDataFile(AnalysisState& s, const QString& path, LoadResult& result) {
    result = readFailureFile(s, path);
    errAll(result.messages);
    return result.end.done();
}

bool loadWithHistogram(AnalysisState& s, const QString& path) {
    LoadResult r;
    if (!loadDataFile(s, path, r)) return false;
    if (Postr_Gist(s)) return true;
    err(s.Otkazy.empty() ? msg::noFailuresLoaded : msg::badFailureTimes);
    return false;
}

} // namespace wf::cli
