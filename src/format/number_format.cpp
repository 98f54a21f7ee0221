#include "format/number_format.h"

#include <QLocale>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <string>

namespace wf::fmt {

namespace {

// C-locale conversions: the process's numeric locale (which the window toolkit switches to
// the user's) must not change how numbers are written or read.
// Room for the 309 integer digits of the largest double plus the asked decimals.
std::string toChars(double v, std::chars_format f, int precision) {
    std::string buf(static_cast<std::size_t>(std::max(precision, 0)) + 400, '\0');
    const auto r = std::to_chars(buf.data(), buf.data() + buf.size(), v, f, precision);
    buf.resize(static_cast<std::size_t>(r.ptr - buf.data()));
    return buf;
}

// Reads a whole C-locale number; false on junk or overflow. An underflow reads as 0.
double fromChars(const std::string& s, bool* ok = nullptr) {
    double v = 0;
    const char* b = s.data();
    if (!s.empty() && s[0] == '+') ++b;
    const auto r = std::from_chars(b, s.data() + s.size(), v);
    bool good = r.ec == std::errc() && r.ptr == s.data() + s.size();
    if (r.ec == std::errc::result_out_of_range && r.ptr == s.data() + s.size()) {
        const auto e = s.find_first_of("eE");
        const bool tiny = e != std::string::npos && s.find('-', e) != std::string::npos;
        good = tiny;
        v = 0;
    }
    if (ok) *ok = good;
    return v;
}

QString nonFinite(double v) {
    if (std::isnan(v)) return QStringLiteral("NAN");
    return v < 0 ? QStringLiteral("-INF") : QStringLiteral("INF");
}

// C-locale text with the point swapped for the user's separator.
QString localized(const char* text) {
    QString s = QString::fromLatin1(text);
    const QChar sep = decimalSeparator();
    if (sep != QLatin1Char('.')) s.replace(QLatin1Char('.'), sep);
    return s;
}

QString padLeft(const QString& s, int width, bool leftAlign = false) {
    if (s.size() >= width) return s;
    const QString pad(width - s.size(), QLatin1Char(' '));
    return leftAlign ? s + pad : pad + s;
}

// Decimal digits of |v| rounded to `sig` significant digits: the digit string without
// trailing zeros and the exponent of its first digit (v = 0.d1d2... * 10^(exp+1)).
struct Digits {
    std::string digits;
    int exp = 0;
    bool negative = false;
};

Digits significantDigits(double v, int sig) {
    Digits d;
    d.negative = std::signbit(v) && v != 0;
    const std::string text = toChars(std::fabs(v), std::chars_format::scientific, sig - 1);
    // text: d.ddddde±xx
    const char* p = text.c_str();
    d.digits.push_back(*p++);
    if (*p == '.') ++p;
    while (*p && *p != 'e') d.digits.push_back(*p++);
    d.exp = (*p == 'e') ? std::atoi(p + 1) : 0;
    while (d.digits.size() > 1 && d.digits.back() == '0') d.digits.pop_back();
    if (d.digits == "0") d.exp = 0;
    return d;
}

// "1,5E20": mantissa digits with the locale separator, exponent without plus or zeros.
QString generalScientific(const Digits& d) {
    QString s = d.negative ? QStringLiteral("-") : QString();
    s += QLatin1Char(d.digits[0]);
    if (d.digits.size() > 1) {
        s += decimalSeparator();
        s += QString::fromLatin1(d.digits.c_str() + 1);
    }
    s += QLatin1Char('E') + QString::number(d.exp);
    return s;
}

} // namespace

QChar decimalSeparator() {
    const QString dp = QLocale().decimalPoint();
    return dp.isEmpty() ? QLatin1Char('.') : dp.at(0);
}

double roundHalfEven(double v) {
    return std::nearbyint(v);
}

QString fixed(double v, int width, int decimals) {
    if (!std::isfinite(v)) return padLeft(nonFinite(v), width);
    return padLeft(localized(toChars(v, std::chars_format::fixed, decimals).c_str()), width);
}

QString general(double v) {
    if (!std::isfinite(v)) return nonFinite(v);
    if (v == 0) return QStringLiteral("0");
    const Digits d = significantDigits(v, 15);
    if (d.exp >= 15 || d.exp < -5) return generalScientific(d);
    QString s = d.negative ? QStringLiteral("-") : QString();
    const int n = static_cast<int>(d.digits.size());
    if (d.exp < 0) {
        s += QLatin1Char('0') + QString(decimalSeparator()) +
             QString(-d.exp - 1, QLatin1Char('0')) + QString::fromLatin1(d.digits.c_str());
        return s;
    }
    const int intDigits = d.exp + 1;
    for (int i = 0; i < intDigits; ++i)
        s += i < n ? QLatin1Char(d.digits[static_cast<std::size_t>(i)]) : QLatin1Char('0');
    if (n > intDigits) {
        s += decimalSeparator();
        s += QString::fromLatin1(d.digits.c_str() + intDigits);
    }
    return s;
}

QString scientific(double v, int width, int precision) {
    if (!std::isfinite(v)) return padLeft(nonFinite(v), width);
    if (precision < 1) precision = 1;
    std::string s = toChars(v, std::chars_format::scientific, precision - 1);
    for (char& ch : s)
        if (ch == 'e') ch = 'E';
    // Widen the exponent to at least three digits: 5.0E-05 -> 5.0E-005.
    const auto e = s.find('E');
    if (e != std::string::npos && e + 2 <= s.size()) {
        std::string expDigits = s.substr(e + 2);
        while (expDigits.size() < 3) expDigits.insert(expDigits.begin(), '0');
        s = s.substr(0, e + 2) + expDigits;
    }
    return padLeft(localized(s.c_str()), width);
}

QString fixedSignificant(double v, int precision, int decimals) {
    if (!std::isfinite(v)) return nonFinite(v);
    if (v == 0) return fixed(0.0, 0, decimals);
    const Digits d = significantDigits(v, precision);
    if (d.exp + 1 > precision) return generalScientific(d);
    const double rounded = fromChars(std::string(d.negative ? "-" : "") + "0." + d.digits + "e" +
                                     std::to_string(d.exp + 1));
    return fixed(rounded, 0, decimals);
}

QString integer(double v) {
    if (!std::isfinite(v)) return nonFinite(v);
    QString s = QString::fromStdString(toChars(roundHalfEven(v), std::chars_format::fixed, 0));
    if (s == QLatin1String("-0")) s = QStringLiteral("0");
    return s;
}

QString grouped(double v, int maxDecimals) {
    if (!std::isfinite(v)) return nonFinite(v);
    std::string s = toChars(v, std::chars_format::fixed, maxDecimals);
    std::string frac;
    if (const auto dot = s.find('.'); dot != std::string::npos) {
        frac = s.substr(dot + 1);
        s.erase(dot);
        while (!frac.empty() && frac.back() == '0') frac.pop_back();
    }
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) s.erase(0, 1);
    const QString groupSep = QLocale().groupSeparator();
    QString out;
    const int n = static_cast<int>(s.size());
    for (int i = 0; i < n; ++i) {
        if (i > 0 && (n - i) % 3 == 0) out += groupSep;
        out += QLatin1Char(s[static_cast<std::size_t>(i)]);
    }
    if (!frac.empty()) out += decimalSeparator() + QString::fromLatin1(frac.c_str());
    if (negative && out != QLatin1String("0")) out.prepend(QLatin1Char('-'));
    return out;
}

namespace {
constexpr int kMaxFieldDigits = 999;
} // namespace

QString format(const QString& pattern, std::initializer_list<FormatArg> args) {
    QString out;
    auto arg = args.begin();
    const int n = pattern.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = pattern.at(i);
        if (c != QLatin1Char('%')) {
            out += c;
            continue;
        }
        if (i + 1 < n && pattern.at(i + 1) == QLatin1Char('%')) {
            out += QLatin1Char('%');
            ++i;
            continue;
        }
        int j = i + 1;
        bool left = false;
        if (j < n && pattern.at(j) == QLatin1Char('-')) {
            left = true;
            ++j;
        }
        // Widths and precisions stop growing at kMaxFieldDigits instead of overflowing.
        int width = 0;
        while (j < n && pattern.at(j).isDigit())
            width = std::min(width * 10 + pattern.at(j++).digitValue(), kMaxFieldDigits);
        int prec = -1;
        if (j < n && pattern.at(j) == QLatin1Char('.')) {
            prec = 0;
            ++j;
            while (j < n && pattern.at(j).isDigit())
                prec = std::min(prec * 10 + pattern.at(j++).digitValue(), kMaxFieldDigits);
        }
        if (j >= n || arg == args.end()) {
            out += pattern.mid(i);
            break;
        }
        const char conv = pattern.at(j).toLatin1();
        const FormatArg& a = *arg++;
        double dv = 0;
        if (const auto* pd = std::get_if<double>(&a))
            dv = *pd;
        else if (const auto* pl = std::get_if<long long>(&a))
            dv = static_cast<double>(*pl);
        QString piece;
        switch (conv) {
        case 'f':
            piece = fixed(dv, 0, prec < 0 ? 2 : prec);
            break;
        case 'e':
            piece = scientific(dv, 0, prec < 0 ? 15 : prec);
            break;
        case 'g':
            piece = general(dv);
            break;
        case 'd':
            piece = integer(dv);
            break;
        case 's':
            if (const auto* ps = std::get_if<QString>(&a))
                piece = *ps;
            else
                piece = general(dv);
            break;
        default:
            piece = pattern.mid(i, j - i + 1);
            break;
        }
        out += padLeft(piece, width, left);
        i = j;
    }
    return out;
}

std::optional<double> parseNumber(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 400) return std::nullopt;
    const QChar sep = decimalSeparator();
    std::string s;
    s.reserve(static_cast<std::size_t>(t.size()));
    int i = 0;
    const int n = t.size();
    if (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-'))
        s.push_back(t.at(i++).toLatin1());
    bool digits = false;
    while (i < n && t.at(i) >= QLatin1Char('0') && t.at(i) <= QLatin1Char('9')) {
        s.push_back(t.at(i++).toLatin1());
        digits = true;
    }
    if (i < n && t.at(i) == sep) {
        s.push_back('.');
        ++i;
        while (i < n && t.at(i) >= QLatin1Char('0') && t.at(i) <= QLatin1Char('9')) {
            s.push_back(t.at(i++).toLatin1());
            digits = true;
        }
    }
    if (!digits) return std::nullopt;
    if (i < n && (t.at(i) == QLatin1Char('e') || t.at(i) == QLatin1Char('E'))) {
        s.push_back('e');
        ++i;
        if (i < n && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
            s.push_back(t.at(i++).toLatin1());
        bool expDigits = false;
        while (i < n && t.at(i) >= QLatin1Char('0') && t.at(i) <= QLatin1Char('9')) {
            s.push_back(t.at(i++).toLatin1());
            expDigits = true;
        }
        if (!expDigits) return std::nullopt;
    }
    if (i != n) return std::nullopt;
    bool ok = false;
    const double v = fromChars(s, &ok);
    if (!ok || !std::isfinite(v)) return std::nullopt;
    return v;
}

std::optional<int> parseInt(const QString& text) {
    const QString t = text.trimmed();
    if (t.isEmpty() || t.size() > 20) return std::nullopt;
    int i = 0;
    bool negative = false;
    if (t.at(0) == QLatin1Char('+') || t.at(0) == QLatin1Char('-')) {
        negative = t.at(0) == QLatin1Char('-');
        ++i;
    }
    if (i >= t.size()) return std::nullopt;
    long long v = 0;
    for (; i < t.size(); ++i) {
        const QChar c = t.at(i);
        if (c < QLatin1Char('0') || c > QLatin1Char('9')) return std::nullopt;
        v = v * 10 + c.digitValue();
        if (v > 2147483648LL) return std::nullopt;
    }
    if (negative) v = -v;
    if (v > 2147483647LL || v < -2147483648LL) return std::nullopt;
    return static_cast<int>(v);
}

} // namespace wf::fmt
