#include "analysis/header_numbers.h"

#include <charconv>
#include <cmath>
#include <string>

namespace wf {

std::optional<double> parsePointNumber(QStringView token) {
    if (token.isEmpty() || token.size() > kMaxNumberChars) return std::nullopt;
    std::string s;
    s.reserve(static_cast<std::size_t>(token.size()));
    qsizetype i = 0;
    const qsizetype n = token.size();
    const auto isDigit = [&](qsizetype k) {
        return k < n && token[k] >= QLatin1Char('0') && token[k] <= QLatin1Char('9');
    };
    if (token[0] == QLatin1Char('+') || token[0] == QLatin1Char('-')) {
        if (token[0] == QLatin1Char('-')) s.push_back('-');
        ++i;
    }
    bool digits = false;
    while (isDigit(i)) {
        s.push_back(static_cast<char>(token[i++].unicode()));
        digits = true;
    }
    if (i < n && token[i] == QLatin1Char('.')) {
        s.push_back('.');
        ++i;
        while (isDigit(i)) {
            s.push_back(static_cast<char>(token[i++].unicode()));
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < n && (token[i] == QLatin1Char('e') || token[i] == QLatin1Char('E'))) {
        s.push_back('e');
        ++i;
        if (i < n && (token[i] == QLatin1Char('+') || token[i] == QLatin1Char('-')))
            s.push_back(static_cast<char>(token[i++].unicode()));
        if (!isDigit(i)) return std::nullopt;
        while (isDigit(i)) s.push_back(static_cast<char>(token[i++].unicode()));
    }
    if (i != n) return std::nullopt;
    double v = 0;
    const auto [ptr, ec] = std::from_chars(s.data(), s.data() + s.size(), v);
    if (ec != std::errc() || ptr != s.data() + s.size() || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> parsePointInteger(QStringView token) {
    if (token.isEmpty() || token.size() > kMaxNumberChars) return std::nullopt;
    qsizetype i = 0;
    bool negative = false;
    if (token[0] == QLatin1Char('+') || token[0] == QLatin1Char('-')) {
        negative = token[0] == QLatin1Char('-');
        ++i;
    }
    if (i >= token.size()) return std::nullopt;
    long long v = 0;
    for (; i < token.size(); ++i) {
        const QChar c = token[i];
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        v = v * 10 + (c.unicode() - '0');
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > 2147483647LL) return std::nullopt;
    return static_cast<int>(v);
}

HeaderToken readHeaderToken(TextLines& lines) {
    HeaderToken t;
    while (auto line = lines.next()) {
        const QString& s = *line;
        qsizetype b = 0;
        while (b < s.size() && s.at(b).unicode() < 33) ++b;
        if (b == s.size()) continue;
        qsizetype e = b;
        while (e < s.size() && s.at(e).unicode() >= 33) ++e;
        t.lineNo = lines.lineNo();
        if (e - b > kMaxNumberChars) {
            t.status = HeaderToken::Status::TooLong;
            t.text = s.mid(b, kMaxNumberChars) + QStringLiteral("…");
            return t;
        }
        t.status = HeaderToken::Status::Ok;
        t.text = s.mid(b, e - b);
        return t;
    }
    t.status = HeaderToken::Status::End;
    t.lineNo = lines.lineNo() + 1;
    return t;
}

} // namespace wf
