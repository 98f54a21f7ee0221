#include "analysis/warranty_file.h"

#include "analysis/header_numbers.h"
#include "analysis/text_lines.h"
#include "format/messages.h"
#include "format/number_format.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>

namespace wf {

namespace {

constexpr qint64 kMaxFileBytes = qint64(1) << 30;

} // namespace

QString abbreviatedWarrantyPath(const QString& path) {
    if (path.isEmpty()) return {};
    const auto fileName = [](const QString& p) {
        return p.mid(p.lastIndexOf(QLatin1Char('/')) + 1);
    };
    if (path.size() >= 2 && path.at(1) == QLatin1Char(':') && path.at(0).isLetter()) {
        QString clean = path;
        clean.replace(QLatin1Char('\\'), QLatin1Char('/'));
        return path.left(1) + QStringLiteral(":\\..\\") + fileName(clean);
    }
    // No drive letters: the top folder stands in for the drive.
    const QString clean = QDir::fromNativeSeparators(path);
    const QStringList parts = clean.split(QLatin1Char('/'), Qt::SkipEmptyParts);
    if (parts.size() <= 2) return clean;
    const QString top =
        clean.startsWith(QLatin1Char('/')) ? QLatin1Char('/') + parts.front() : parts.front();
    return top + QStringLiteral("/../") + fileName(clean);
}

namespace {

// The last message says why.
WarrantyResult& refuse(WarrantyResult& r) {
    r.end = JobEnd::refused(r.messages.last());
    return r;
}

} // namespace

WarrantyResult ReadWarrantyFile(AnalysisState& state, const QString& path) {
    WarrantyResult r;
    r.fields.fileText = abbreviatedWarrantyPath(path);
    if (path.isEmpty()) {
        // Nothing was ever chosen: say so, but keep the loaded data usable.
        r.messages << msg::fileDoesNotExist;
        return refuse(r);
    }
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly) ||
        file.size() > kMaxFileBytes) {
        state.Dannye_Gotovy = false;
        r.messages << msg::fileDoesNotExist;
        return refuse(r);
    }
    clearExecuted(state);
    state.Dannye_Gotovy = true;

    const QByteArray bytes = file.readAll();
    file.close();
    if (looksLikeUtf16(bytes)) {
        r.messages << msg::utf16Text(path);
        return refuse(r);
    }
    TextLines lines(bytes);
    const QString komment = lines.next().value_or(QString());
    DoubArr times;
    for (;;) {
        const HeaderToken t = readHeaderToken(lines);
        if (t.status == HeaderToken::Status::End) break; // blank lines at the end carry no time
        const auto v =
            t.status == HeaderToken::Status::Ok ? parsePointNumber(t.text) : std::nullopt;
        if (!v) {
            r.messages << msg::warrantyBadLine(t.lineNo, path, t.text);
            return refuse(r);
        }
        times.push_back(*v);
    }
    r.count = static_cast<int>(times.size());
    if (times.size() < 2) {
        r.messages << msg::warrantyTooFewTimes(r.count, path);
        return refuse(r);
    }
    double sum = 0;
    for (const double t : times) sum += t;
    const double mean = sum / static_cast<double>(times.size());
    double sq = 0;
    for (const double t : times) sq += (t - mean) * (t - mean);
    const double sd = std::sqrt(sq / static_cast<double>(times.size() - 1));
    if (!std::isfinite(mean) || !std::isfinite(sd)) {
        r.messages << msg::warrantyOutOfRange(path);
        return refuse(r);
    }

    state.Kommentarij = komment;
    state.Vremena_Gar = std::move(times);
    state.Sred_Gar = mean;
    state.SKO_Gar = sd;

    WarrantyFields& f = r.fields;
    f.caption = komment;
    f.count = fmt::integer(r.count);
    f.mean = fmt::fixedSignificant(mean, 6, 3);
    f.sd = fmt::fixedSignificant(sd, 6, 3);
    f.warrantyMean = fmt::fixedSignificant(mean, 3, 1);
    f.warrantySd = fmt::fixedSignificant(sd, 3, 1);
    r.end = {};
    return r;
}

} // namespace wf
