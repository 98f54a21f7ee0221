#include "cli/validators.h"

#include "format/messages.h"
#include "format/number_format.h"

#include <QLocale>
#include <QStringList>

#include <charconv>
#include <cmath>

namespace wf::cli {

std::optional<double> readNumber(const std::string& text) {
    const QString t = QString::fromStdString(text).trimmed();
    if (auto v = fmt::parseNumber(t)) return v;
    QLocale c = QLocale::c();
    c.setNumberOptions(QLocale::RejectGroupSeparator);
    bool ok = false;
    const double v = c.toDouble(t, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

CLI::Validator numberValue() {
    return CLI::Validator(
        [](std::string& s) {
            return readNumber(s) ? std::string()
                                 : msg::notANumber(QString::fromStdString(s)).toStdString();
        },
        msg::helpNumber.toStdString(), "number");
}

CLI::Validator integerIn(long long lo, long long hi) {
    return CLI::Validator(
        [lo, hi](std::string& s) {
            long long v = 0;
            const char* end = s.data() + s.size();
            const auto [at, ec] = std::from_chars(s.data(), end, v);
            const QString text = QString::fromStdString(s);
            if (ec == std::errc::result_out_of_range)
                return msg::cliOutOfRange(text, lo, hi).toStdString();
            if (ec != std::errc() || at != end) return msg::notAnInteger(text).toStdString();
            if (v < lo || v > hi) return msg::cliOutOfRange(text, lo, hi).toStdString();
            return std::string();
        },
        msg::helpIntegerRange(lo, hi).toStdString(), "integer range");
}

CLI::Validator oneOf(const std::vector<std::string>& words) {
    QStringList list;
    for (const std::string& w : words) list << QString::fromStdString(w);
    return CLI::Validator(
        [words, list](std::string& s) {
            for (const std::string& w : words)
                if (s == w) return std::string();
            return msg::cliNotOneOf(QString::fromStdString(s), list.join(QStringLiteral(", ")))
                .toStdString();
        },
        list.join(QLatin1Char('|')).toStdString(), "one of");
}

} // namespace wf::cli
