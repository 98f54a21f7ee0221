// Program start: the main window, the results window (hidden until results) and,
// optionally, a data file named on the command line.

#include "format/messages.h"
#include "stats/core/distributions.h"
#include "ui/app_info.h"
#include "ui/main_window.h"
#include "ui/results_window.h"
#include "ui/screen_fit.h"
#include "ui/screenshot_tour.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QMessageBox>
#include <QThread>
#include <QTranslator>

#include <cstdlib>

namespace {

// A broken interval invariant inside the distribution functions: the analysis cannot go
// on, so the program says so and ends (exit code 1).
void intervalGuard() {
    auto stop = [] {
        while (QApplication::overrideCursor()) QApplication::restoreOverrideCursor();
        QMessageBox box(QMessageBox::Critical, wf::msg::intervalGuardCaption,
                        wf::msg::intervalGuard, QMessageBox::Ok, QApplication::activeWindow());
        box.exec();
        std::_Exit(1);
    };
    if (QThread::currentThread() == qApp->thread()) stop();
    // On a worker: the window thread shows the box and ends the program; this thread
    // must not go on with the broken values meanwhile.
    QMetaObject::invokeMethod(qApp, stop, Qt::QueuedConnection);
    for (;;) QThread::sleep(1);
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("weibflow"));
    QApplication::setApplicationVersion(QStringLiteral(WEIBFLOW_VERSION));
    wf::setIntervalGuard(&intervalGuard);
    // Qt's own dialogs and buttons (open, print, "OK") in the user's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);

    QCommandLineParser cli;
    cli.setApplicationDescription(wf::ui::applicationTitle());
    cli.addHelpOption();
    cli.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("failure data file to load"));
    const QCommandLineOption evalCost(QStringLiteral("eval-cost-us"),
                                      QStringLiteral("virtual clock: microseconds per evaluation"),
                                      QStringLiteral("N"));
    const QCommandLineOption seed(QStringLiteral("seed"), QStringLiteral("genetic search seed"),
                                  QStringLiteral("N"));
    QCommandLineOption shots(QStringLiteral("screenshots"), QString(), QStringLiteral("DIR"));
    shots.setFlags(QCommandLineOption::HiddenFromHelp);
    cli.addOption(evalCost);
    cli.addOption(seed);
    cli.addOption(shots);
    cli.process(app);

    wf::ui::TForm1 form1;
    wf::ui::TForm5 form5(&form1);
    form1.setResultsWindow(&form5);
    if (cli.isSet(evalCost)) form1.setEvalCostUs(cli.value(evalCost).toLongLong());
    if (cli.isSet(seed)) form1.setGeneticSeed(cli.value(seed).toULongLong());

    wf::ui::showFillingScreen(&form1);

    const QStringList args = cli.positionalArguments();
    const QString file = args.isEmpty() ? QString() : args.first();
    if (cli.isSet(shots)) {
        wf::ui::startScreenshotTour(form1, form5, file, cli.value(shots));
    } else if (!file.isEmpty()) {
        QMetaObject::invokeMethod(
            &form1, [&form1, file] { form1.loadDataFile(file); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}
