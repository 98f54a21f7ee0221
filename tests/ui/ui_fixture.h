#pragma once
// A main window and its results window for one test, message boxes collected.

#include "files.h"
#include "ui/main_window.h"
#include "ui/message_box.h"
#include "ui/results_window.h"
#include "ui/screen_fit.h"

#include <QAbstractButton>
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QSignalSpy>
#include <QStringList>
#include <QTest>

#include <memory>

namespace wf::ui::test {

inline QString samplePath() {
    return wf::test::samplePath(QStringLiteral("sample_fleet.txt"));
}
inline QString warrantySamplePath() {
    return wf::test::samplePath(QStringLiteral("gar_sample.txt"));
}

// How long a window test waits for a condition: generous, the machine may be loaded.
constexpr int kWaitMs = 30000;

// The windows' tests run on an offscreen laptop screen of 1366x768: set before the
// application starts (WF_LAPTOP_TEST_MAIN does).
inline void useLaptopScreen() {
    const QString path = QDir::temp().filePath(
        QStringLiteral("weibflow-ui-screen-%1.json").arg(QCoreApplication::applicationPid()));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write("{\"screens\":[{\"name\":\"laptop\",\"x\":0,\"y\":0,\"width\":1366,"
                "\"height\":768,\"logicalDpi\":96,\"logicalBaseDpi\":96,\"dpr\":1}]}");
    qputenv("QT_QPA_PLATFORM", "offscreen:configfile=" + path.toLocal8Bit());
}

struct Windows {
    QStringList messages;
    QStringList captions;   // caption of each box ("" for the application title)
    QList<bool> busyCursor; // whether the busy cursor showed as each box opened
    std::unique_ptr<TForm1> form1;
    std::unique_ptr<TForm5> form5;

    Windows() {
        setCaptionedMessageHook([this](const QString& caption, const QString& t) {
            captions << caption;
            messages << t;
            const QCursor* c = QApplication::overrideCursor();
            busyCursor << (c && c->shape() == Qt::WaitCursor);
        });
        form1 = std::make_unique<TForm1>();
        form5 = std::make_unique<TForm5>(form1.get());
        form1->setResultsWindow(form5.get());
        // Every fit reads a virtual clock: the runs are quick and repeat exactly.
        form1->setEvalCostUs(100);
        form1->setGeneticSeed(7);
        showFillingScreen(form1.get());
    }
    ~Windows() {
        form5.reset();
        form1.reset();
        setCaptionedMessageHook({});
    }

    // Presses a button and waits for the job it starts to end.
    bool runAndWait(QAbstractButton* button, int timeoutMs = 120000) {
        QSignalSpy spy(form1.get(), &TForm1::jobFinished);
        button->click();
        return spy.count() > 0 || spy.wait(timeoutMs);
    }
};

} // namespace wf::ui::test

#define WF_LAPTOP_TEST_MAIN(TestObject)                                                            \
    int main(int argc, char** argv) {                                                              \
        wf::ui::test::useLaptopScreen();                                                           \
        QApplication app(argc, argv);                                                              \
        TestObject tc;                                                                             \
        return QTest::qExec(&tc, argc, argv);                                                      \
    }
