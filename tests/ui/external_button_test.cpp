// The external optimizer button: the program runs on a worker, its answer becomes the
// model "Golang"; a stop ends a hanging optimizer and leaves the model as it was.

#include "ui_fixture.h"

#include "fields.h"
#include "format/messages.h"
#include "ui/chart_builder.h"

#include <QAbstractSeries>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace wf::ui;
using wf::ChartSeries;
using wf::ui::test::Windows;

namespace {

// A stand-in optimizer: a shell script that writes its answer where it is told to.
QString writeScript(const QTemporaryDir& dir, const QByteArray& body) {
    const QString path = dir.filePath(QStringLiteral("optimizer.sh"));
    wf::test::writeScript(path, body);
    return path;
}

wf::ExternalSettings settingsFor(const QString& program) {
    return wf::test::optimizerAt(program, std::chrono::milliseconds(60000));
}

// An optimizer that answers A 1.85, B 1200.5 h, K 1.2 at once.
wf::ExternalSettings answeringOptimizer(const QTemporaryDir& dir) {
    return settingsFor(
        writeScript(dir, "printf '1.85\\n1200.5\\n1.2\\n' > \"$WEIBFLOW_RESULT_FILE\"\n"));
}

} // namespace

class ExternalButtonTest : public QObject {
    Q_OBJECT
private slots:
    void answerBecomesTheGolangModel();
    void stopEndsAHangingOptimizer();
    void allFiveModelsShowWholeOnAFullHdScreen();
    void answerWithoutLoadedDataIsReported();
};

void ExternalButtonTest::answerBecomesTheGolangModel() {
    QTemporaryDir dir;
    Windows w;
    TForm1& f = *w.form1;
    f.setExternalSettings(answeringOptimizer(dir));
    f.loadDataFile(test::samplePath());
    QSignalSpy done(&f, &TForm1::jobFinished);
    f.externalButton->click();
    QVERIFY(!f.externalButton->isEnabled());
    QVERIFY(!f.calculateButton->isEnabled());
    QVERIFY(done.wait(60000));
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));
    QVERIFY(f.externalButton->isEnabled());
    QVERIFY(f.state().ModExt.Executed);
    QCOMPARE(f.state().ModExt.A, 1.85);
    QCOMPARE(f.state().ModExt.B, 1200.5);
    QVERIFY(f.logEdit->toPlainText().contains(QStringLiteral("Расчёт модели Golang выполнен")));
    QCOMPARE(w.form5->resultsTable->item(0, 1)->text().trimmed(), QStringLiteral("Golang"));
    QVERIFY(findSeries(w.form5->rateChart, ChartSeries::ExternalRateCensored)->isVisible());
}

void ExternalButtonTest::stopEndsAHangingOptimizer() {
    QTemporaryDir dir;
    Windows w;
    TForm1& f = *w.form1;
    const QString started = dir.filePath(QStringLiteral("started"));
    f.setExternalSettings(
        settingsFor(writeScript(dir, "touch '" + started.toLocal8Bit() + "'\nsleep 60\n")));
    f.loadDataFile(test::samplePath());
    QSignalSpy done(&f, &TForm1::jobFinished);
    f.externalButton->click();
    // Stop once the optimizer runs, however long a loaded machine takes to start it.
    QTRY_VERIFY_WITH_TIMEOUT(QFileInfo::exists(started), test::kWaitMs);
    f.stopGeneticButton->click();
    QElapsedTimer t;
    t.start();
    QVERIFY(done.wait(30000));
    QVERIFY(t.elapsed() < 10000);
    QCOMPARE(w.messages.size(), 1); // the cancellation is reported
    QVERIFY(!f.state().ModExt.Executed);
    QVERIFY(!w.form5->isVisible());
}

void ExternalButtonTest::allFiveModelsShowWholeOnAFullHdScreen() {
    QTemporaryDir dir;
    Windows w;
    TForm1& f = *w.form1;
    w.form5->setWindowState(Qt::WindowNoState);
    w.form5->resize(1904, 1040); // 1920x1080 less the frame and a panel
    f.setExternalSettings(answeringOptimizer(dir));
    f.loadDataFile(test::samplePath());
    f.newtonBox->setChecked(true);
    f.smirnovBox->setChecked(true);
    f.mleBox->setChecked(false);
    QVERIFY(w.runAndWait(f.calculateButton));
    f.populationEdit->setText(QStringLiteral("20"));
    f.generationsEdit->setText(QStringLiteral("20"));
    QVERIFY(w.runAndWait(f.geneticButton));
    QVERIFY(w.runAndWait(f.externalButton));
    QTableWidget* grid = w.form5->resultsTable;
    QCOMPARE(grid->item(0, 6)->text().trimmed(), QStringLiteral("Данные эксплуатации"));
    QApplication::processEvents();
    QCOMPARE(w.form5->width(), 1904);
    QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
    int used = 0;
    for (int c = 0; c < 7; ++c) used += grid->columnWidth(c);
    QVERIFY(used <= grid->viewport()->width());
}

void ExternalButtonTest::answerWithoutLoadedDataIsReported() {
    QTemporaryDir dir;
    Windows w;
    TForm1& f = *w.form1;
    f.setExternalSettings(answeringOptimizer(dir));
    f.filePathEdit->setText(test::samplePath()); // typed, never loaded
    QVERIFY(w.runAndWait(f.externalButton));
    QCOMPARE(w.messages, QStringList{wf::msg::externalNoData});
    QVERIFY(!w.form5->isVisible());
}

WF_LAPTOP_TEST_MAIN(ExternalButtonTest)
#include "external_button_test.moc"
