#pragma once
// Helpers for the analysis tests: files in a temporary folder, CP1251 text, locale switch.

#include "analysis/text_lines.h"

#include <QByteArray>
#include <QFile>
#include <QLocale>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <ostream>

// Readable QString values in failure output.
inline void PrintTo(const QString& s, std::ostream* os) {
    *os << '"' << s.toStdString() << '"';
}

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

inline QByteArray joinLines(const QStringList& lines, const char* eol = "\r\n") {
    return toCp1251(lines.join(QString::fromLatin1(eol)) + QString::fromLatin1(eol));
}

class TempFiles {
public:
    TempFiles() { EXPECT_TRUE(dir_.isValid()); }
    QString write(const QString& name, const QByteArray& bytes) {
        const QString path = dir_.filePath(name);
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
        return path;
    }
    QString path(const QString& name) const { return dir_.filePath(name); }

private:
    QTemporaryDir dir_;
};

// Sets the default locale for the scope of a test and restores the previous one.
class LocaleScope {
public:
    explicit LocaleScope(const QLocale& l)
        : saved_(QLocale()) {
        QLocale::setDefault(l);
    }
    ~LocaleScope() { QLocale::setDefault(saved_); }

private:
    QLocale saved_;
};

inline QLocale commaLocale() {
    return QLocale(QLocale::Russian, QLocale::Russia);
}
inline QLocale pointLocale() {
    return QLocale(QLocale::C);
}

// A failure data file: comment, header numbers, causes, failure lines.
inline QStringList dataFile(const QStringList& causes, const QStringList& failures,
                            const QString& sred = QStringLiteral("3000"),
                            const QString& sko = QStringLiteral("500"),
                            const QString& park = QStringLiteral("100")) {
    QStringList l{
        QStringLiteral("Тестовый парк"), sred, sko, park, QString::number(failures.size()),
        QString::number(causes.size())};
    l += causes;
    l += failures;
    return l;
}

// A failure line with a description; the cause text is padded so the line is long.
inline QString failure(const QString& time, const QString& cause,
                       const QString& komment = QStringLiteral("описание отказа изделия")) {
    return time + QLatin1Char('\t') + cause + QStringLiteral(" * ") + komment;
}

} // namespace wf::test
