// Number text: parsing arbitrary text, formatting arbitrary doubles, and the round trip
// from the shortest general form back to the value, in the C and the Russian locale.

#include "fuzz_common.h"

#include "format/number_format.h"

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>

namespace {

void checkFormats(double v, int width, int digits) {
    using namespace wf::fmt;
    (void)fixed(v, width, digits);
    (void)scientific(v, width, digits);
    (void)fixedSignificant(v, digits, digits % 4);
    (void)integer(v);
    (void)grouped(v, digits);
    (void)format(QStringLiteral("%10.3f %-8.2e %d %g %s %%"),
                 {v, v, static_cast<long long>(width), v, QStringLiteral("x")});
    if (!std::isfinite(v)) return;
    // general() keeps 15 significant digits, so the value comes back to within 1e-14
    // relative (half a unit in the 15th digit, with room for the last binary digit).
    const auto back = parseNumber(general(v));
    // Only the last 15-digit step below the largest double rounds out of range.
    if (!back) {
        if (std::fabs(v) < 1.79769313486231e308) std::abort();
        return;
    }
    if (std::fabs(*back - v) > 1e-14 * std::fabs(v)) std::abort();
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    wf::fuzz::useRussianLocale();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    QLocale::setDefault((data[0] & 1) ? QLocale(QLocale::Russian, QLocale::Russia) : QLocale::c());
    ++data;
    --size;
    const QString text =
        QString::fromUtf8(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (const auto v = wf::fmt::parseNumber(text); v && !std::isfinite(*v)) std::abort();
    (void)wf::fmt::parseInt(text);
    // Arbitrary text as a pattern, with arguments of every kind.
    (void)wf::fmt::format(text, {1.5, 42LL, QStringLiteral("s"), -2.25});
    if (size >= sizeof(double) + 2) {
        double v;
        std::memcpy(&v, data, sizeof v);
        checkFormats(v, data[sizeof v] % 40, data[sizeof v + 1] % 20);
    }
    return 0;
}
