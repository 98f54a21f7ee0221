// Loading a 100,000-failure file into the main window, offscreen, against the engine's own
// load of the same file: how much the window adds until it has painted the data. Prints
//   window load X s, engine load Y s, ratio R
// as its last line (medians of a few rounds). Other arguments are ignored.

#include "big_fleet_file.h"

#include "analysis/failure_file.h"
#include "analysis/settings_file.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/screen_fit.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <QTextStream>

#include <algorithm>
#include <random>
#include <vector>

namespace {

constexpr int kFailures = wf::bench::kBigFleetFailures;
constexpr int kRounds = 3;

QByteArray makeFile() {
    return wf::bench::bigFleetFile();
}

double median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main(int argc, char** argv) {
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    QFile f(path);
    if (!f.open(QIODevice::WriteOnly) || f.write(makeFile()) < 0) return 1;
    f.close();
    // The loader remembers the path in the settings file: leave it as it was.
    QFile settings(wf::settingsFilePath());
    const bool hadSettings = settings.exists() && settings.open(QIODevice::ReadOnly);
    const QByteArray settingsBackup = hadSettings ? settings.readAll() : QByteArray();
    settings.close();

    std::vector<double> window, engine;
    for (int round = 0; round < kRounds; ++round) {
        QElapsedTimer t;
        {
            wf::AnalysisState s;
            t.start();
            const wf::LoadResult r = wf::OpenFailureFile(s, path);
            engine.push_back(t.nsecsElapsed() / 1e9);
            if (!r.end.done()) return 1;
        }
        wf::ui::TForm1 form1;
        wf::ui::TForm5 form5(&form1);
        form1.setResultsWindow(&form5);
        wf::ui::showFillingScreen(&form1);
        QApplication::processEvents();
        t.start();
        form1.loadDataFile(path);
        // Until the table and the chart are on the screen: the chart lays itself out and
        // draws through posted events.
        QApplication::processEvents();
        form1.repaint();
        QApplication::processEvents();
        window.push_back(t.nsecsElapsed() / 1e9);
        if (form1.state().Otkazy.size() != static_cast<std::size_t>(kFailures)) return 1;
    }
    if (hadSettings) {
        if (settings.open(QIODevice::WriteOnly | QIODevice::Truncate))
            settings.write(settingsBackup);
    } else {
        QFile::remove(wf::settingsFilePath());
    }

    const double w = median(window), e = median(engine);
    QTextStream(stdout) << "failures " << kFailures << ", rounds " << kRounds << Qt::endl
                        << "window load " << QString::number(w, 'f', 3) << " s, engine load "
                        << QString::number(e, 'f', 3) << " s, ratio "
                        << QString::number(w / e, 'f', 2) << Qt::endl;
    return 0;
}
