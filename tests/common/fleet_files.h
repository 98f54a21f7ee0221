#pragma once
// Failure data files as bytes: CP1251 text with CRLF lines, a file written line by line, and
// one drawn from a known model.

#include "analysis/text_lines.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace wf::test {

// CP1251 bytes of `text`; characters outside the code page become '?'.
inline QByteArray toCp1251(const QString& text) {
    QByteArray out;
    out.reserve(text.size());
    for (const QChar c : text) {
        char b = '?';
        for (int v = 0; v < 256; ++v)
            if (cp1251ToUnicode(static_cast<unsigned char>(v)) == c.unicode()) {
                b = static_cast<char>(v);
                break;
            }
        out.push_back(b);
    }
    return out;
}

// The lines in CP1251, each ended by `eol`.
inline QByteArray joinLines(const QStringList& lines, const char* eol = "\r\n") {
    return toCp1251(lines.join(QString::fromLatin1(eol)) + QString::fromLatin1(eol));
}

// A failure data file: comment, header numbers, causes, failure lines.
inline QStringList dataFile(const QStringList& causes, const QStringList& failures,
                            const QString& sred = QStringLiteral("3000"),
                            const QString& sko = QStringLiteral("500"),
                            const QString& park = QStringLiteral("100"),
                            const QString& comment = QStringLiteral("Тестовый парк")) {
    QStringList l{
        comment, sred, sko, park, QString::number(failures.size()), QString::number(causes.size())};
    l += causes;
    l += failures;
    return l;
}

// A failure line with a description; the cause text is padded so the line is long.
inline QString failure(const QString& time, const QString& cause,
                       const QString& komment = QStringLiteral("описание отказа изделия")) {
    return time + QLatin1Char('\t') + cause + QStringLiteral(" * ") + komment;
}

// A fleet drawn from a known model: every product fails Poisson(K) times over its
// Weibull(A, B) life and each failure is seen only while the product is still under
// warranty (its exit time is normal with mean Sred and SD SKO).
struct Truth {
    double A = 1.5, B = 3000, K = 0.5;
    double Park = 2000, Sred = 2500, SKO = 600;
    std::uint64_t seed = 1;
};

// The file of such a fleet; the same truth and seed give the same bytes.
inline QByteArray makeFleetFile(const Truth& t, const QByteArray& comment = "generated fleet") {
    std::mt19937_64 rng(t.seed);
    std::uniform_real_distribution<double> u(0.0, 1.0);
    std::normal_distribution<double> exitTime(t.Sred, t.SKO);
    std::poisson_distribution<int> repeats(t.K);
    static const char* const causes[] = {"sensor", "pump", "valve"};
    std::vector<QByteArray> lines;
    for (long p = 0; p < static_cast<long>(t.Park); ++p) {
        const double leaves = exitTime(rng);
        const int n = repeats(rng);
        for (int i = 0; i < n; ++i) {
            const double time = t.B * std::pow(-std::log(1.0 - u(rng)), 1.0 / t.A);
            if (time >= 1.0 && time < leaves) {
                const char* c = causes[lines.size() % 3];
                lines.push_back(QByteArray::number(time, 'f', 1) + '\t' + c +
                                " failure of the unit * seen in service");
            }
        }
    }
    QByteArray out = comment + "\r\n";
    out += QByteArray::number(t.Sred, 'g', 10) + "\r\n";
    out += QByteArray::number(t.SKO, 'g', 10) + "\r\n";
    out += QByteArray::number(t.Park, 'g', 10) + "\r\n";
    out += QByteArray::number(static_cast<qint64>(lines.size())) + "\r\n3\r\n";
    for (const char* c : causes) out += QByteArray(c) + "\r\n";
    for (const QByteArray& l : lines) out += l + "\r\n";
    return out;
}

} // namespace wf::test
