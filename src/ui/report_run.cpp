#include "ui/report_run.h"

#include "format/messages.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/results_window.h"

#include <QAbstractButton>
#include <QApplication>
#include <QCheckBox>
#include <QEventLoop>
#include <QPushButton>

#include <cstdio>
#include <initializer_list>
#include <utility>

namespace wf::ui {

namespace {

const QStringList kModels = {QStringLiteral("spiral"),  QStringLiteral("newton"),
                             QStringLiteral("smirnov"), QStringLiteral("mle"),
                             QStringLiteral("genetic"), QStringLiteral("external")};

void toStderr(const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stderr);
    std::fputc('\n', stderr);
}

// Presses `button` and waits for the job it starts; false when none started or none showed
// results.
bool pressAndWait(TForm1& main, QAbstractButton* button) {
    bool finished = false;
    QEventLoop loop;
    const auto c = QObject::connect(&main, &TForm1::jobFinished, &loop, [&] {
        finished = true;
        loop.quit();
    });
    button->click();
    if (!finished && main.jobRunning()) loop.exec();
    QObject::disconnect(c);
    return finished;
}

} // namespace

QString checkReportModels(const QStringList& models) {
    for (const QString& m : models)
        if (!kModels.contains(m)) return msg::reportUnknownModel(m);
    return {};
}

int runReport(TForm1& main, TForm5& results, const ReportRun& run) {
    int errors = 0;
    setCaptionedMessageHook([&errors](const QString&, const QString& text) {
        toStderr(text);
        ++errors;
    });
    const auto end = [](int code, int said = 1) {
        setCaptionedMessageHook({});
        // A run that failed without a word says so.
        if (code != kReportOk && said == 0) toStderr(msg::reportNoResults);
        return code;
    };
    main.loadDataFile(run.dataFile);
    if (!main.state().Dannye_Gotovy || main.state().Otkazy.empty()) return end(kReportDataError);

    const auto wants = [&run](const char* name) {
        return run.models.contains(QLatin1String(name));
    };
    main.spiralBox->setChecked(wants("spiral"));
    main.newtonBox->setChecked(wants("newton"));
    main.smirnovBox->setChecked(wants("smirnov"));
    main.mleBox->setChecked(wants("mle"));
    const AnalysisState& s = main.state();
    // Each model asked for must come out of its run; a failed one fails the report.
    const auto ran = [&](std::initializer_list<std::pair<const char*, const Mod_Weib*>> asked) {
        for (const auto& [name, record] : asked)
            if (wants(name) && !record->Executed) return false;
        return true;
    };
    const bool deterministic =
        wants("spiral") || wants("newton") || wants("smirnov") || wants("mle");
    if (deterministic &&
        !(pressAndWait(main, main.calculateButton) && ran({{"spiral", &s.ModSpir},
                                                           {"newton", &s.ModNewton},
                                                           {"smirnov", &s.ModSmirnov},
                                                           {"mle", &s.ModMLE}})))
        return end(kReportDataError, errors);
    if (wants("genetic") && !(pressAndWait(main, main.geneticButton) && s.ModGen.Executed))
        return end(kReportDataError, errors);
    if (wants("external") && !(pressAndWait(main, main.externalButton) && s.ModExt.Executed))
        return end(kReportDataError, errors);
    if (!deterministic && !wants("genetic") && !wants("external"))
        return end(kReportDataError, errors);
    return end(results.saveReport(run.output) ? kReportOk : kReportDataError, errors);
}

} // namespace wf::ui
