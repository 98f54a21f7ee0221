// The warranty end-time file reader on arbitrary bytes.

#include "fuzz_common.h"

#include "analysis/warranty_file.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wf::fuzz::useRussianLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QString path = wf::fuzz::scratchFile(bytes, "gar");
    wf::AnalysisState s;
    s.Sred_Gar = 1234;
    const wf::WarrantyResult r = wf::ReadWarrantyFile(s, path);
    // A reading that succeeds leaves finite statistics; one that fails leaves the old mean.
    if (r.end.done() && !(std::isfinite(s.Sred_Gar) && std::isfinite(s.SKO_Gar))) std::abort();
    if (!r.end.done() && s.Sred_Gar != 1234) std::abort();
    return 0;
}
