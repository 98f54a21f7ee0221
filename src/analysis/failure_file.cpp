#include "analysis/failure_file.h"

#include "analysis/header_numbers.h"
#include "analysis/load_summary.h"
#include "analysis/settings_file.h"
#include "analysis/text_lines.h"
#include "format/messages.h"
#include "format/number_format.h"

#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace wf {

namespace {

// Whole files are read at once; beyond this a file cannot be failure data.
constexpr qint64 kMaxFileBytes = qint64(1) << 30;
// Expected failure counts are the fleet size times small probabilities; far beyond any real
// fleet they overflow and the fits return nonsense.
constexpr double kMaxFleetSize = 1e12;
// Lines of at most this many characters after the header are cause names.
constexpr int kMaxCauseChars = 20;

const QString kBrak = QStringLiteral("Брак");
const QString kDrugie = QStringLiteral("Другие");

struct Header {
    QString komment;
    double sred = 0, sko = 0, kolAll = 0;
    int kolOtkLine = 0;
};

// The parts of one failure line.
struct LineParts {
    QString timeText;
    QString cause;
    QString komment;
};

// Cuts `s` down to [from, to) in place: a line of 100 MB is not copied once more.
void keepRange(QString& s, qsizetype from, qsizetype to) {
    s.truncate(to);
    s.remove(0, std::min(from, to));
}

// Where the text from `b` on starts and ends without characters below code 33 around it.
void trimmedRange(const QString& s, qsizetype& b, qsizetype& e) {
    e = s.size();
    while (b < e && s.at(b).unicode() < 33) ++b;
    while (e > b && s.at(e - 1).unicode() < 33) --e;
}

// Takes the line over: the description (or the cause text) keeps the line's own buffer.
LineParts splitFailureLine(QString line) {
    LineParts p;
    qsizetype b = 0;
    qsizetype e = 0;
    trimmedRange(line, b, e);
    keepRange(line, b, e);
    const qsizetype tab = line.indexOf(QLatin1Char('\t'));
    // Without a TAB the time is missing and the whole line is the rest.
    if (tab >= 0) p.timeText = line.left(tab);
    b = tab >= 0 ? tab : 0;
    trimmedRange(line, b, e);
    const qsizetype star = QStringView(line).mid(b, e - b).indexOf(QLatin1Char('*'));
    if (star < 0) {
        keepRange(line, b, e);
        p.cause = std::move(line);
    } else {
        // The character right after the mark and the one right before it are separators.
        p.cause = star == 0 ? line.mid(b, e - b) : line.mid(b, std::max<qsizetype>(star - 1, 0));
        keepRange(line, std::min(b + star + 2, e), e);
        p.komment = std::move(line);
    }
    return p;
}

std::optional<double> parseFailureTime(QString text) {
    const QChar sep = fmt::decimalSeparator();
    for (QChar& c : text)
        if (c == QLatin1Char('.') || c == QLatin1Char(',')) c = sep;
    return fmt::parseNumber(text);
}

QString numberedSeparator(const char* whole, const char* frac) {
    return QString::fromLatin1(whole) + fmt::decimalSeparator() + QString::fromLatin1(frac);
}

std::optional<QString> generationsFor(int kolOtk) {
    if (kolOtk <= 500) return QStringLiteral("1500");
    if (kolOtk <= 999) return QStringLiteral("2000");
    if (kolOtk <= 99999) return QStringLiteral("4000");
    return std::nullopt;
}

LoadResult refused(QStringList messages, const QString& why) {
    LoadResult r;
    r.messages = std::move(messages);
    r.messages << why;
    r.end = JobEnd::refused(why);
    return r;
}

// Reads lines 2 to 6; a message when they do not hold the numbers.
std::optional<QString> readHeaderNumbers(TextLines& lines, const QString& path, Header& h) {
    double* reals[] = {&h.sred, &h.sko, &h.kolAll};
    for (double* target : reals) {
        const HeaderToken t = readHeaderToken(lines);
        if (t.status == HeaderToken::Status::End) return msg::headerMissing(t.lineNo, path);
        const auto v =
            t.status == HeaderToken::Status::Ok ? parsePointNumber(t.text) : std::nullopt;
        if (!v) return msg::headerNotNumber(t.lineNo, path, t.text);
        *target = *v;
        if (target == &h.kolAll && !(*v > 0)) return msg::fleetNotPositive(t.lineNo, path);
        if (target == &h.kolAll && *v > kMaxFleetSize)
            return msg::fleetTooLarge(t.lineNo, path, fmt::general(kMaxFleetSize));
    }
    for (int k = 0; k < 2; ++k) {
        const HeaderToken t = readHeaderToken(lines);
        if (t.status == HeaderToken::Status::End) return msg::headerMissing(t.lineNo, path);
        const auto v =
            t.status == HeaderToken::Status::Ok ? parsePointInteger(t.text) : std::nullopt;
        if (!v) return msg::headerNotWholeNumber(t.lineNo, path, t.text);
        if (k == 0) h.kolOtkLine = *v; // the cause count of line 6 is not needed
    }
    return std::nullopt;
}

} // namespace

void Sort_Otkazy(std::vector<Problems>& otkazy) {
    std::stable_sort(otkazy.begin(), otkazy.end(),
                     [](const Problems& a, const Problems& b) { return a.time < b.time; });
}

LoadResult parseFailureFile(AnalysisState& state, const QByteArray& bytes, const QString& path) {
    if (bytes.isEmpty()) return refused({}, msg::dataFileEmpty(path));
    if (looksLikeUtf16(bytes)) return refused({}, msg::utf16Text(path));
    TextLines lines(bytes);
    Header h;
    h.komment = lines.next().value_or(QString());
    if (auto why = readHeaderNumbers(lines, path, h)) return refused({}, *why);

    std::vector<Vid_otkaza> vidy{{kBrak, 0}, {kDrugie, 0}};
    std::optional<QString> firstFailureLine;
    while (auto line = lines.next()) {
        if (line->size() > kMaxCauseChars) {
            firstFailureLine = std::move(line);
            break;
        }
        if (static_cast<int>(vidy.size()) - 2 >= kMaxFileCauses)
            return refused({}, msg::tooManyCauses(kMaxFileCauses, path));
        vidy.push_back({trimControl(*line), 0});
    }
    if (!firstFailureLine) return refused({}, msg::noFailureLines(path));
    const int kolPrich = static_cast<int>(vidy.size()) - 1;

    std::vector<QString> lowerNames;
    lowerNames.reserve(vidy.size());
    for (const auto& v : vidy) lowerNames.push_back(v.Nazv_Prich.toLower());

    QStringList messages;
    std::vector<Problems> otkazy;
    // Causes of the file each failure names (bit j: Vidy_Otk[j], j >= 2).
    std::vector<std::uint64_t> named;
    static_assert(kMaxFileCauses + 2 <= 64, "one bit per cause");

    std::optional<QString> line = std::move(firstFailureLine);
    for (; line; line = lines.next()) {
        // Typically a final empty line.
        if (std::all_of(line->cbegin(), line->cend(), [](QChar c) { return c.unicode() < 33; }))
            continue;
        const LineParts parts = splitFailureLine(std::move(*line));
        Problems f;
        f.komment = parts.komment;
        if (const auto t = parseFailureTime(parts.timeText))
            f.time = *t;
        else
            messages << msg::badFailureLine(lines.lineNo(), path);
        std::uint64_t mask = 0;
        if (f.time < 1) {
            f.chey = 0;
            f.Pri = kBrak;
            vidy[0].Dolya += 1;
        } else {
            const QString lower = parts.cause.toLower();
            bool matched = false;
            for (int j = 0; j <= kolPrich; ++j) {
                const QString& name = lowerNames[static_cast<std::size_t>(j)];
                if (name.isEmpty() || !lower.contains(name)) continue;
                matched = true;
                f.chey = j;
                vidy[static_cast<std::size_t>(j)].Dolya += 1;
                if (j >= 2) mask |= std::uint64_t(1) << j;
            }
            if (matched) {
                f.Pri = parts.cause;
            } else {
                f.chey = 1;
                f.Pri = kDrugie;
                vidy[1].Dolya += 1;
            }
        }
        otkazy.push_back(std::move(f));
        named.push_back(mask);
    }
    if (otkazy.empty()) return refused(messages, msg::noFailureLines(path));

    // Causes of the file by decreasing count, equal counts in file order.
    std::vector<int> order(static_cast<std::size_t>(kolPrich) - 1);
    for (std::size_t k = 0; k < order.size(); ++k) order[k] = static_cast<int>(k) + 2;
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return vidy[static_cast<std::size_t>(a)].Dolya > vidy[static_cast<std::size_t>(b)].Dolya;
    });
    std::vector<Vid_otkaza> sorted{vidy[0], vidy[1]};
    std::vector<int> sortPos(vidy.size(), 0);
    for (const int j : order) {
        sortPos[static_cast<std::size_t>(j)] = static_cast<int>(sorted.size());
        sorted.push_back(vidy[static_cast<std::size_t>(j)]);
    }
    // A failure naming several causes takes the one placed last. Failures put under
    // "Брак" or "Другие" by rule keep them even if a cause of the file bears that name.
    for (std::size_t i = 0; i < otkazy.size(); ++i) {
        const std::uint64_t mask = named[i];
        if (mask == 0) continue;
        int best = -1;
        for (int j = 2; j <= kolPrich; ++j)
            if (mask & (std::uint64_t(1) << j))
                best = std::max(best, sortPos[static_cast<std::size_t>(j)]);
        otkazy[i].chey = best;
    }
    std::vector<std::uint64_t>().swap(named);

    const int n = static_cast<int>(otkazy.size());
    const int kolOtk = n + 1;
    const int bezBraka = n - static_cast<int>(std::ceil(sorted[0].Dolya));
    Sort_Otkazy(otkazy);

    LoadResult r;
    SummaryValues values;
    computeLoadSummary(otkazy, h.kolAll, h.sred, h.sko, values, r.summary);

    MainFields& fl = r.fields;
    fl.filePath = path;
    fl.caption = h.komment;
    fl.warrantyMean = fmt::general(h.sred);
    fl.warrantySd = fmt::general(h.sko);
    fl.fleetSize = fmt::general(h.kolAll);
    fl.failureCount = fmt::integer(bezBraka);
    fl.countingPeriod = fl.warrantyMean;
    fl.stepFactorSpiral = numberedSeparator("1", "00025");
    fl.stepFactorNewton = numberedSeparator("1", "00025");
    fl.stepFactorSmirnov = numberedSeparator("1", "0005");
    fl.accuracy = numberedSeparator("0", "0000002");
    fl.generations = generationsFor(kolOtk);

    state.Dannye_Gotovy = true;
    clearExecuted(state);
    state.ModGen.Kol_Nakopl = 0;
    state.ModGen.K_powtor = 1;
    state.ModGen.Unsens = 0;
    state.Kommentarij = h.komment;
    state.Sred_Gar = h.sred;
    state.SKO_Gar = h.sko;
    state.Kol_All = h.kolAll;
    state.Vidy_Otk = std::move(vidy);
    state.Vidy_Otk_Sort = std::move(sorted);
    state.Kol_Prich = kolPrich;
    state.Otkazy = std::move(otkazy);
    state.Kol_Otk = kolOtk;
    state.Kol_Otk_Bez_Braka = bezBraka;
    state.Masshtab = 1.0;
    state.Park = h.kolAll;
    applySummary(values, state);

    r.end = {};
    r.messages = std::move(messages);
    return r;
}

LoadResult readFailureFile(AnalysisState& state, const QString& path) {
    const QFileInfo info(path);
    if (!info.isFile()) return refused({}, msg::dataFileCannotOpen(path));
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return refused({}, msg::dataFileCannotOpen(path));
    if (file.size() > kMaxFileBytes) return refused({}, msg::dataFileTooLarge(path));
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return refused({}, msg::dataFileCannotOpen(path));
    file.close();
    return parseFailureFile(state, bytes, path);
}

LoadResult OpenFailureFile(AnalysisState& state, const QString& path) {
    if (path.isEmpty()) return refused({}, msg::noDataPath); // nothing was ever chosen
    LoadResult r = readFailureFile(state, path);
    if (r.end.done()) writeLastDataPath(path);
    return r;
}

} // namespace wf
