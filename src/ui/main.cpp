// Program start: the main window, the results window (hidden until results) and,
// optionally, a data file named on the command line.

#include "format/messages.h"
#include "ui/app_info.h"
#include "ui/main_window.h"
#include "ui/parser_texts.h"
#include "ui/report_run.h"
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

#include <cstdint>
#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    // A report for scripts and the help show no window: they need no display.
    for (int i = 1; i < argc; ++i)
        if (qstrcmp(argv[i], "--report") == 0 || qstrncmp(argv[i], "--report=", 9) == 0 ||
            qstrcmp(argv[i], "--help") == 0 || qstrcmp(argv[i], "-h") == 0)
            qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("weibflow"));
    QApplication::setApplicationVersion(QStringLiteral(WEIBFLOW_VERSION));
    // Qt's own dialogs and buttons (open, print, "OK") in the user's language.
    QTranslator qtTexts;
    if (qtTexts.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                     QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTexts);
    // The command line's help and errors in Russian in any locale: installed last, asked first.
    wf::ui::ParserTexts parserTexts;
    QApplication::installTranslator(&parserTexts);

    namespace msg = wf::msg;
    QCommandLineParser cli;
    cli.setApplicationDescription(wf::ui::applicationTitle());
    const QCommandLineOption help(QStringList{QStringLiteral("h"), QStringLiteral("help")},
                                  msg::helpFlag);
    cli.addPositionalArgument(msg::helpFile, msg::guiFileHelp,
                              QStringLiteral("[%1]").arg(msg::helpFile));
    const QCommandLineOption evalCost(QStringLiteral("eval-cost-us"), msg::helpEvalCost,
                                      QStringLiteral("N"));
    const QCommandLineOption seed(QStringLiteral("seed"), msg::helpSeed, QStringLiteral("N"));
    QCommandLineOption shots(QStringLiteral("screenshots"), QString(), QStringLiteral("DIR"));
    shots.setFlags(QCommandLineOption::HiddenFromHelp);
    const QCommandLineOption report(QStringLiteral("report"), msg::guiReportHelp, msg::helpPdfFile);
    const QCommandLineOption models(QStringLiteral("models"), msg::guiModelsHelp, msg::helpList,
                                    QStringLiteral("spiral"));
    cli.addOption(help);
    cli.addOption(evalCost);
    cli.addOption(seed);
    cli.addOption(shots);
    cli.addOption(report);
    cli.addOption(models);
    if (!cli.parse(QApplication::arguments())) {
        const QString text = msg::usageError(QStringLiteral("weibflow"), cli.errorText());
        std::fprintf(stderr, "%s\n", text.toLocal8Bit().constData());
        return wf::ui::kReportUsage;
    }
    if (cli.isSet(help)) {
        std::fputs(cli.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }

    bool numbersOk = true;
    const auto number = [&cli, &numbersOk](const QCommandLineOption& o) {
        bool ok = true;
        const qlonglong v = cli.isSet(o) ? cli.value(o).toLongLong(&ok) : 0;
        numbersOk = numbersOk && ok && v >= 0;
        return v;
    };
    const qlonglong costValue = number(evalCost);
    const qlonglong seedValue = number(seed);

    const QStringList args = cli.positionalArguments();
    const QString file = args.isEmpty() ? QString() : args.first();
    wf::ui::ReportRun run;
    if (cli.isSet(report)) {
        run.output = cli.value(report);
        run.dataFile = file;
        run.models = cli.value(models).split(QLatin1Char(','), Qt::SkipEmptyParts);
        const QString bad = wf::ui::checkReportModels(run.models);
        if (args.size() != 1 || run.output.isEmpty() || !bad.isEmpty() || !numbersOk) {
            if (!bad.isEmpty()) std::fprintf(stderr, "%s\n", bad.toLocal8Bit().constData());
            std::fprintf(stderr, "%s\n", msg::reportUsage.toLocal8Bit().constData());
            return wf::ui::kReportUsage;
        }
    }

    wf::ui::TForm1 form1;
    wf::ui::TForm5 form5(&form1);
    form1.setResultsWindow(&form5);
    if (cli.isSet(evalCost)) form1.setEvalCostUs(costValue);
    if (cli.isSet(seed)) form1.setGeneticSeed(static_cast<std::uint64_t>(seedValue));
    if (cli.isSet(report)) return wf::ui::runReport(form1, form5, run);

    wf::ui::showFillingScreen(&form1);

    if (cli.isSet(shots)) {
        wf::ui::startScreenshotTour(form1, form5, file, cli.value(shots));
    } else if (!file.isEmpty()) {
        QMetaObject::invokeMethod(
            &form1, [&form1, file] { form1.loadDataFile(file); }, Qt::QueuedConnection);
    }
    return QApplication::exec();
}
