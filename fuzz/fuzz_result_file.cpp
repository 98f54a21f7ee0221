// The external optimizer's result file: three numbers or a message, never anything else.

#include "fuzz_common.h"

#include "external/result_file.h"

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
    double A = 0, B = 0, K = 0;
    QString error;
    const bool ok = wf::parseResultText(bytes, A, B, K, error);
    if (ok && !(std::isfinite(A) && std::isfinite(B) && std::isfinite(K))) std::abort();
    if (!ok && error.isEmpty()) std::abort();
    return 0;
}
