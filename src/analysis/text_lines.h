#pragma once
// Line-by-line reading of the program's 8-bit text files. Files come as CP1251 (the
// usual case) or UTF-8 with or without a byte-order mark; lines end in CR LF, LF or a
// lone CR. Decoding is done per line so a large file is never held twice as text.

#include <QByteArray>
#include <QString>

#include <cstddef>
#include <optional>

namespace wf {

// One CP1251 byte as a UTF-16 code unit (bytes below 0x80 are ASCII; 0x98 has no
// character and gives U+FFFD).
char16_t cp1251ToUnicode(unsigned char b);

// True when `bytes` is well-formed UTF-8 (no overlong forms, surrogates or values above
// U+10FFFF).
bool isValidUtf8(const char* data, std::size_t size);

// True for UTF-16 text: a UTF-16 byte-order mark, or zero bytes in one of every two
// positions at the start. Read as 8-bit text it would give wrong numbers ("1500" reads
// as 1) without a word of complaint.
bool looksLikeUtf16(const QByteArray& bytes);

class TextLines {
public:
    // Chooses the encoding: a UTF-8 byte-order mark, or valid UTF-8 containing non-ASCII
    // bytes, means UTF-8; anything else is CP1251. `bytes` must outlive the reader.
    explicit TextLines(const QByteArray& bytes);

    bool utf8() const { return utf8_; }
    bool atEnd() const { return pos_ >= size_; }
    // The next line without its line end, or nullopt at the end of the text. A final line
    // end does not start one more (empty) line.
    std::optional<QString> next();
    // File line number (from 1) of the line `next` returned last; 0 before the first.
    int lineNo() const { return lineNo_; }

private:
    const char* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
    int lineNo_ = 0;
    bool utf8_ = false;
};

// The text without leading and trailing characters below code 33.
QString trimControl(const QString& s);

} // namespace wf
