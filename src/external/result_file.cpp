#include "external/result_file.h"

#include "format/messages.h"
#include "format/number_format.h"

#include <QFile>
#include <QList>

#include <optional>

namespace wf {

namespace {

// Three numbers never need more; a huge file is not ours.
constexpr qint64 kMaxResultBytes = 64 * 1024;

QString trimControl(const QString& s) {
    qsizetype b = 0, e = s.size();
    while (b < e && s.at(b).unicode() <= 32) ++b;
    while (e > b && s.at(e - 1).unicode() <= 32) --e;
    return s.mid(b, e - b);
}

} // namespace

bool parseResultText(const QByteArray& text, double& A, double& B, double& K, QString& error) {
    QList<QByteArray> lines = text.split('\n');
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // the end of the last line, not a line of its own
    const QChar sep = fmt::decimalSeparator();
    double* const out[3] = {&A, &B, &K};
    for (int i = 0; i < 3; ++i) {
        if (i >= lines.size()) {
            error = msg::resultLineMissing(i + 1);
            return false;
        }
        const QString raw = trimControl(QString::fromUtf8(lines[i]));
        QString t = raw;
        t.replace(QLatin1Char('.'), sep).replace(QLatin1Char(','), sep);
        const std::optional<double> v = fmt::parseNumber(t);
        if (!v) {
            error = msg::resultLineBad(i + 1, raw);
            return false;
        }
        *out[i] = *v;
    }
    return true;
}

bool readResultFile(const QString& path, double& A, double& B, double& K, QString& error) {
    QFile f(path);
    if (!f.exists()) {
        error = msg::resultFileMissing(path);
        return false;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        error = msg::resultFileUnreadable(path);
        return false;
    }
    const QByteArray text = f.read(kMaxResultBytes);
    QString why;
    if (!parseResultText(text, A, B, K, why)) {
        error = msg::resultFileError(path, why);
        return false;
    }
    return true;
}

} // namespace wf
