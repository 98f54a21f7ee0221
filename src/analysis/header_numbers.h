#pragma once
// Numbers of the file headers: a point as decimal separator whatever the user's locale.
// Blanks and line ends before a number are skipped, the number runs to the next blank or
// line end, and the rest of its line is skipped.

#include "analysis/text_lines.h"

#include <QString>
#include <QStringView>

#include <optional>

namespace wf {

// The whole token as a decimal number with a point: optional sign, digits, optional
// fraction and exponent. Not-a-number, infinities and out-of-range values give nullopt.
std::optional<double> parsePointNumber(QStringView token);
// The whole token as a 32-bit whole number with an optional sign.
std::optional<int> parsePointInteger(QStringView token);

struct HeaderToken {
    enum class Status { Ok, End, TooLong };
    Status status = Status::End;
    QString text;   // the number's text
    int lineNo = 0; // file line the token stands on (on End: the line that is missing)
};

// Longest number text accepted.
inline constexpr int kMaxNumberChars = 64;

// The next number's text from `lines`, its line then being consumed.
HeaderToken readHeaderToken(TextLines& lines);

} // namespace wf
