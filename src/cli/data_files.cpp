#include "cli/data_files.h"

#include "cli/report.h"
#include "format/messages.h"
#include "stats/histogram.h"

#include <QFile>
#include <QFileInfo>

namespace wf::cli {

namespace {
// The window's loader refuses larger files too.
constexpr qint64 kMaxDataFileBytes = qint64(1) << 30;
} // namespace

bool loadDataFile(AnalysisState& s, const QString& path, LoadResult& result) {
    result = LoadResult{};
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        result.messages << msg::dataFileCannotOpen(path);
    } else if (file.size() > kMaxDataFileBytes) {
        result.messages << msg::dataFileTooLarge(path);
    } else {
        const QByteArray bytes = file.readAll();
        if (file.error() != QFileDevice::NoError)
            result.messages << msg::dataFileCannotOpen(path);
        else
            result = parseFailureFile(s, bytes, path);
    }
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
