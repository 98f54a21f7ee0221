// weibflow-optimizer FILE: fits A, B and K to the failure data file and writes them, one
// per line, to the file named by WEIBFLOW_RESULT_FILE. Exit 0 on success; otherwise a
// message on stderr and a non-zero exit.

#include "fit.h"

#include "analysis/failure_file.h"
#include "analysis/state.h"
#include "format/messages.h"
#include "stats/histogram.h"

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <QString>
#include <QStringList>

#include <cstdio>

namespace {

enum Exit { kOk = 0, kDataError = 1, kUsage = 2, kWriteError = 3 };

void say(const QString& text) {
    const QByteArray b = text.toLocal8Bit() + '\n';
    std::fwrite(b.constData(), 1, static_cast<std::size_t>(b.size()), stderr);
}

QByteArray number(double v) {
    return QByteArray::number(v, 'g', 17);
}

} // namespace

int main(int argc, char** argv) {
    using namespace wf;
    bool verbose = false;
    int effort = 1;
    QStringList files;
    for (int i = 1; i < argc; ++i) {
        const QString a = QString::fromLocal8Bit(argv[i]);
        if (a == QLatin1String("--verbose"))
            verbose = true;
        else if (a == QLatin1String("--effort") && i + 1 < argc) {
            effort = QByteArray(argv[++i]).toInt();
            if (effort < 1 || effort > 1000) {
                say(msg::optimizerUsage);
                return kUsage;
            }
        } else if (a == QLatin1String("--help") || a == QLatin1String("-h")) {
            say(msg::optimizerUsage);
            return kOk;
        } else
            files << a;
    }
    if (files.size() != 1) {
        say(msg::optimizerUsage);
        return kUsage;
    }
    const QString path = files.front();
    const QByteArray resultPath = qgetenv("WEIBFLOW_RESULT_FILE");
    if (resultPath.isEmpty()) {
        say(msg::resultEnvMissing);
        return kUsage;
    }

    QElapsedTimer clock;
    clock.start();
    // Read the bytes ourselves: the loader's file entry would also rewrite the program's
    // settings file, which is not ours to touch.
    QFile f(path);
    if (path.isEmpty() || !QFileInfo(path).isFile()) {
        say(msg::fileDoesNotExist + QStringLiteral(": «") + path + QStringLiteral("»"));
        return kDataError;
    }
    if (!f.open(QIODevice::ReadOnly)) {
        say(msg::dataFileUnreadable(path));
        return kDataError;
    }
    const QByteArray bytes = f.readAll();
    f.close();

    AnalysisState s;
    const LoadResult load = parseFailureFile(s, bytes, path);
    if (!load.end.done()) {
        say(msg::dataFileRefused(path));
        for (const QString& m : load.messages) say(m);
        return kDataError;
    }
    if (s.Otkazy.empty() || s.Kol_Otk_Bez_Braka <= 0) {
        say(msg::noFailuresToFit);
        return kDataError;
    }
    if (!Postr_Gist(s)) {
        say(msg::histogramNotBuilt);
        return kDataError;
    }

    const optimizer::FitOutcome fit = optimizer::fitWeibullFlow(s, effort);

    QSaveFile out(QString::fromLocal8Bit(resultPath));
    if (!out.open(QIODevice::WriteOnly)) {
        say(msg::resultNotWritten(out.fileName()));
        return kWriteError;
    }
    const QByteArray text = number(fit.A) + '\n' + number(fit.B) + '\n' + number(fit.K) + '\n';
    if (out.write(text) != text.size() || !out.commit()) {
        say(msg::resultNotWritten(out.fileName()));
        return kWriteError;
    }
    if (verbose) {
        say(QString::fromLatin1("Celev_Gen=" + QByteArray::number(fit.objective, 'g', 12) + " A=" +
                                number(fit.A) + " B=" + number(fit.B) + " K=" + number(fit.K) +
                                " evaluations=" + QByteArray::number(qint64(fit.evaluations)) +
                                " ms=" + QByteArray::number(clock.elapsed())));
    }
    return kOk;
}
