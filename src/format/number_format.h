#pragma once
// Number text in the user's locale (QLocale()'s decimal separator). Every number the
// program shows goes through these functions; file headers are read elsewhere with a point.

#include <QString>

#include <initializer_list>
#include <optional>
#include <variant>

namespace wf::fmt {

// Nearest integer, an exact half going to the even neighbour.
double roundHalfEven(double v);

// "%w.df": fixed point, d decimals, right-aligned in at least w characters.
QString fixed(double v, int width, int decimals);

// Shortest general form with up to 15 significant digits: fixed while the integer part
// has at most 15 digits and |v| >= 1e-5, else "1,5E20"-style (no plus sign, no leading
// zeros in the exponent). 0 gives "0".
QString general(double v);

// "%w.pe": p significant digits (one before the point), then "E", a sign and at least
// three exponent digits, right-aligned in at least w characters: 5,000000000E-005.
QString scientific(double v, int width, int precision);

// Rounded to `precision` significant digits, then `decimals` decimals; a value with more
// integer digits than `precision` is written in the general scientific form (2,54E3).
QString fixedSignificant(double v, int precision, int decimals);

// The value to the nearest integer (halves to even), without a decimal part.
QString integer(double v);

// Rounded to at most `maxDecimals` decimals, trailing zeros dropped, thousands grouped
// with the locale's group separator.
QString grouped(double v, int maxDecimals);

using FormatArg = std::variant<double, long long, QString>;

// printf-like formatting with the conventions above: %[-][w][.p] followed by f, e, d,
// g or s; "%%" is a percent sign. %e takes p as the number of significant digits.
QString format(const QString& pattern, std::initializer_list<FormatArg> args);

// A decimal number in the user's locale: optional blanks around, optional sign, digits
// with the locale's decimal separator, optional exponent. Not-a-number, infinities,
// out-of-range values and any other text give nullopt.
std::optional<double> parseNumber(const QString& text);

// A whole number in 32-bit range, optional blanks around and an optional sign.
std::optional<int> parseInt(const QString& text);

// The user's decimal separator as one character.
QChar decimalSeparator();

} // namespace wf::fmt
