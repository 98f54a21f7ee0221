// The failure data file from load to results: parse, histogram, one evaluated model and,
// for a small file, the whole results output.

#include "fuzz_common.h"

#include "analysis/failure_file.h"
#include "external/external_model.h"
#include "results/results_data.h"
#include "stats/histogram.h"

#include <cstddef>
#include <cstdint>

namespace {
// ShowResults walks every failure several times; small files keep the runs fast.
constexpr std::size_t kMaxFailuresForResults = 200;
} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wf::fuzz::useRussianLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    wf::AnalysisState s;
    const wf::LoadResult r = wf::parseFailureFile(s, bytes, QStringLiteral("fuzz.txt"));
    if (!r.end.done()) return 0;
    const int rows = static_cast<int>(s.Otkazy.size());
    for (int i = 0; i < rows && i < 50; ++i) (void)wf::problemsGridRow(s, r.summary, i);
    (void)wf::logViewData(s);
    if (!wf::Postr_Gist(s)) return 0;
    (void)wf::applyExternalModel(s, 1.5, 5000.0, 1.0);
    if (s.Otkazy.size() <= kMaxFailuresForResults) (void)wf::ShowResults(s, 300);
    return 0;
}
