#include "analysis/text_lines.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace wf {

namespace {

constexpr std::array<char16_t, 64> kCp1251High = {
    0x0402, 0x0403, 0x201A, 0x0453, 0x201E, 0x2026, 0x2020, 0x2021, // 80
    0x20AC, 0x2030, 0x0409, 0x2039, 0x040A, 0x040C, 0x040B, 0x040F, // 88
    0x0452, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014, // 90
    0xFFFD, 0x2122, 0x0459, 0x203A, 0x045A, 0x045C, 0x045B, 0x045F, // 98
    0x00A0, 0x040E, 0x045E, 0x0408, 0x00A4, 0x0490, 0x00A6, 0x00A7, // A0
    0x0401, 0x00A9, 0x0404, 0x00AB, 0x00AC, 0x00AD, 0x00AE, 0x0407, // A8
    0x00B0, 0x00B1, 0x0406, 0x0456, 0x0491, 0x00B5, 0x00B6, 0x00B7, // B0
    0x0451, 0x2116, 0x0454, 0x00BB, 0x0458, 0x0405, 0x0455, 0x0457, // B8
};

QString decodeCp1251(const char* p, std::size_t n) {
    QString s(static_cast<qsizetype>(n), Qt::Uninitialized);
    char16_t* out = reinterpret_cast<char16_t*>(s.data());
    for (std::size_t i = 0; i < n; ++i) out[i] = cp1251ToUnicode(static_cast<unsigned char>(p[i]));
    return s;
}

} // namespace

char16_t cp1251ToUnicode(unsigned char b) {
    if (b < 0x80) return b;
    if (b >= 0xC0) return static_cast<char16_t>(0x0410 + (b - 0xC0)); // А..я in order
    return kCp1251High[b - 0x80];
}

bool isValidUtf8(const char* data, std::size_t size) {
    const auto* p = reinterpret_cast<const unsigned char*>(data);
    std::size_t i = 0;
    while (i < size) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        int extra = 0;
        char32_t cp = 0;
        char32_t minCp = 0;
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            cp = c & 0x1F;
            minCp = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            cp = c & 0x0F;
            minCp = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            cp = c & 0x07;
            minCp = 0x10000;
        } else {
            return false;
        }
        if (size - i <= static_cast<std::size_t>(extra)) return false;
        for (int k = 1; k <= extra; ++k) {
            const unsigned char cc = p[i + static_cast<std::size_t>(k)];
            if ((cc & 0xC0) != 0x80) return false;
            cp = (cp << 6) | (cc & 0x3F);
        }
        if (cp < minCp || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
        i += static_cast<std::size_t>(extra) + 1;
    }
    return true;
}

bool looksLikeUtf16(const QByteArray& bytes) {
    if (bytes.startsWith("\xFF\xFE") || bytes.startsWith("\xFE\xFF")) return true;
    // Without a mark: ASCII characters (digits, blanks, line ends) leave a zero byte in every
    // other position, while the other half is almost never zero.
    const qsizetype n = std::min<qsizetype>(bytes.size(), 4096);
    std::array<qsizetype, 2> zeros{0, 0};
    for (qsizetype i = 0; i < n; ++i)
        if (bytes[i] == '\0') ++zeros[static_cast<std::size_t>(i % 2)];
    const qsizetype half = n / 2;
    const qsizetype most = std::max(zeros[0], zeros[1]);
    const qsizetype least = std::min(zeros[0], zeros[1]);
    return half > 0 && most * 10 >= half && least * 20 <= most;
}

TextLines::TextLines(const QByteArray& bytes)
    : data_(bytes.constData())
    , size_(static_cast<std::size_t>(bytes.size())) {
    if (size_ >= 3 && std::memcmp(data_, "\xEF\xBB\xBF", 3) == 0) {
        utf8_ = true;
        pos_ = 3;
        return;
    }
    bool nonAscii = false;
    for (std::size_t i = 0; i < size_ && !nonAscii; ++i)
        nonAscii = static_cast<unsigned char>(data_[i]) >= 0x80;
    utf8_ = nonAscii && isValidUtf8(data_, size_);
}

std::optional<QString> TextLines::next() {
    if (pos_ >= size_) return std::nullopt;
    const std::size_t start = pos_;
    std::size_t end = start;
    while (end < size_ && data_[end] != '\n' && data_[end] != '\r') ++end;
    pos_ = end;
    if (pos_ < size_) {
        if (data_[pos_] == '\r' && pos_ + 1 < size_ && data_[pos_ + 1] == '\n') ++pos_;
        ++pos_;
    }
    ++lineNo_;
    const char* p = data_ + start;
    const std::size_t n = end - start;
    return utf8_ ? QString::fromUtf8(p, static_cast<qsizetype>(n)) : decodeCp1251(p, n);
}

QString trimControl(const QString& s) {
    qsizetype b = 0;
    qsizetype e = s.size();
    while (b < e && s.at(b).unicode() < 33) ++b;
    while (e > b && s.at(e - 1).unicode() < 33) --e;
    if (b == 0 && e == s.size()) return s;
    return s.mid(b, e - b);
}

} // namespace wf
