#pragma once
// A main window and its results window for one test, message boxes collected.

#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/results_window.h"

#include <QAbstractButton>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <memory>

namespace wf::ui::test {

inline QString samplePath() {
    return QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/sample_fleet.txt");
}
inline QString warrantySamplePath() {
    return QStringLiteral(WEIBFLOW_SOURCE_DIR "/data/gar_sample.txt");
}

struct Windows {
    QStringList messages;
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm5> form5;

    Windows() {
        setMessageHook([this](const QString& t) { messages << t; });
        form1 = std::make_unique<TForm1>();
        form5 = std::make_unique<TForm5>(form1.get());
        form1->setResultsWindow(form5.get());
        // Every fit reads a virtual clock: the runs are quick and repeat exactly.
        form1->setEvalCostUs(100);
        form1->setGeneticSeed(7);
        form1->show();
    }
    ~Windows() {
        form5.reset();
        form1.reset();
        setMessageHook({});
    }

    // Presses a button and waits for the job it starts to end.
    bool runAndWait(QAbstractButton* button, int timeoutMs = 120000) {
        QSignalSpy spy(form1.get(), &TForm1::jobFinished);
        button->click();
        return spy.count() > 0 || spy.wait(timeoutMs);
    }
};

} // namespace wf::ui::test
