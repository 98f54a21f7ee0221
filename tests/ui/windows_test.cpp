// The windows end to end: loading, calculation runs on the worker, the results window's
// table and charts, the log-scale view, printing, the genetic controls and closing.

#include "ui_fixture.h"

#include "format/messages.h"
#include "format/number_format.h"
#include "stats/cause_fits.h"
#include "ui/causes_window.h"
#include "ui/chart_builder.h"
#include "ui/failure_table_model.h"
#include "ui/log_view.h"
#include "ui/workers.h"

#include <QAbstractSeries>
#include <QApplication>
#include <QAreaSeries>
#include <QChart>
#include <QCheckBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QLogValueAxis>
#include <QPlainTextEdit>
#include <QPrinter>
#include <QProcess>
#include <QProgressBar>
#include <QPushButton>
#include <QRegularExpression>
#include <QScrollBar>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QXYSeries>

#include <algorithm>
#include <cmath>

using namespace wf::ui;
using wf::ChartSeries;
using wf::ui::test::Windows;

namespace {

QString cell(TForm5& f, int col, int row) {
    const QTableWidgetItem* it = f.resultsTable->item(row, col);
    return it ? it->text().trimmed() : QString();
}

int causesWithFailures(const wf::AnalysisState& s) {
    int n = 0;
    for (int j = 0; j <= s.Kol_Prich && j < static_cast<int>(s.Vidy_Otk_Sort.size()); ++j)
        if (s.Vidy_Otk_Sort[static_cast<std::size_t>(j)].Dolya > 0) ++n;
    return n;
}

void tickOnly(TForm1& f, bool spiral, bool newton, bool smirnov) {
    f.spiralBox->setChecked(spiral);
    f.newtonBox->setChecked(newton);
    f.smirnovBox->setChecked(smirnov);
    f.mleBox->setChecked(false);
}

} // namespace

class WindowsTest : public QObject {
    Q_OBJECT
private slots:
    void fileFilterTakesQtForm();
    void messagesAreCappedWithASummary();
    void mainWindowShowsDocumentedControls();
    void loadFillsFieldsTableAndChart();
    void runBeforeAnyLoadReportsTheEmptyField();
    void largeFileFillsTheWholeTable();
    void calculationRunsOnWorkerAndFillsResults();
    void secondRunAddsColumnWithoutDuplicatingCauseSeries();
    void warrantyFileFillsItsFields();
    void logViewShowsFailuresAndDisposesOnContinue();
    void printingGivesLandscapePdf();
    void causesPageTakesModelThreeByCauseAndAnotherWarranty();
    void resultsWindowContinueAndCloseShowMainWindow();
    void geneticRunShowsProgressAndColumn();
    void geneticRunStopsOnStopButton();
    void closingDuringCalculationEndsPromptly();
    void lateCompletionsChangeNothing();
    void closingDuringGeneticRunEndsPromptly();
};

void WindowsTest::fileFilterTakesQtForm() {
    QCOMPARE(TForm1::qtFileFilter(QStringLiteral("файлы данных (txt,rel)|*.txt;*.rel")),
             QStringLiteral("файлы данных (txt,rel) (*.txt *.rel)"));
    QCOMPARE(TForm1::qtFileFilter(QStringLiteral("Файл времен гарантии|gar*.txt")),
             QStringLiteral("Файл времен гарантии (gar*.txt)"));
}

void WindowsTest::messagesAreCappedWithASummary() {
    QStringList seen;
    setMessageHook([&](const QString& t) { seen << t; });
    QStringList texts;
    for (int i = 1; i <= 8; ++i) texts << QStringLiteral("line %1").arg(i);
    showMessages(nullptr, texts);
    setMessageHook({});
    QCOMPARE(seen.size(), kMessageCap + 1);
    QCOMPARE(seen.first(), QStringLiteral("line 1"));
    QCOMPARE(seen.last(), wf::msg::moreMessages(8 - kMessageCap));
}

void WindowsTest::mainWindowShowsDocumentedControls() {
    Windows w;
    TForm1& f = *w.form1;
    QVERIFY(f.windowTitle().startsWith(QStringLiteral("Анализ надежности в эксплуатации.")));
    QCOMPARE(f.openDataButton->text(), QStringLiteral("Путь"));
    QCOMPARE(f.calculateButton->text(), QStringLiteral("Расчет"));
    QCOMPARE(f.burnInEdit->text(), QStringLiteral("300"));
    QCOMPARE(f.logEdit->toPlainText(), QStringLiteral("Ход решения"));
    QVERIFY(f.spiralBox->isChecked());
    QVERIFY(!f.newtonBox->isChecked());
    QCOMPARE(f.populationEdit->text(), QStringLiteral("3000"));
    QCOMPARE(f.generationsEdit->text(), QStringLiteral("1500"));
    QCOMPARE(f.copyBestEdit->text(), QStringLiteral("50"));
    QVERIFY(!f.copyBestEdit->placeholderText().isEmpty());
    // Controls are found under their layout names.
    QCOMPARE(f.findChild<QTableView*>(QStringLiteral("Problems_Grid")), f.failureView);
    QCOMPARE(f.findChild<QPushButton*>(QStringLiteral("StopBtn")), f.stopGeneticButton);
    // Slider hints follow the position.
    f.crossoverTrack->setValue(40);
    QCOMPARE(f.crossoverTrack->toolTip(), QStringLiteral("Вероятность скрещивания ") +
                                              wf::fmt::format(QStringLiteral("%4.2f"), {0.4}));
    QVERIFY(f.mutationTrack->toolTip().startsWith(QStringLiteral("Вероятность мутации ")));
}

void WindowsTest::loadFillsFieldsTableAndChart() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));
    QVERIFY(f.state().Dannye_Gotovy);
    QCOMPARE(f.fleetSizeEdit->text(), wf::fmt::general(f.state().Kol_All));
    QCOMPARE(f.failureCountEdit->text(), QString::number(f.state().Kol_Otk_Bez_Braka));
    QVERIFY(f.fleetSizeEdit->isReadOnly() && f.failureCountEdit->isReadOnly());
    QVERIFY(!f.fleetSizeEdit->toolTip().isEmpty());
    QCOMPARE(f.captionLabel->text(), f.state().Kommentarij);
    QVERIFY(!f.warrantyMeanEdit->text().isEmpty());
    QCOMPARE(f.countingPeriodEdit->text(), f.warrantyMeanEdit->text());
    const int n = static_cast<int>(f.state().Otkazy.size());
    QVERIFY(n > 100);
    // Row 0 holds the header texts, then one row per failure.
    QCOMPARE(f.failureTable()->rowCount(), n + 1);
    QCOMPARE(f.failureTable()->cell(0, 1), QStringLiteral("Наработка, ч"));
    QCOMPARE(f.failureTable()->cell(1, 0), QStringLiteral("1"));
    QCOMPARE(f.failureTable()->cell(n, 0), QString::number(n));
    // Cells take edits; the analysis keeps its own data.
    QVERIFY(f.failureTable()->setData(f.failureTable()->index(1, 3), QStringLiteral("x"),
                                      Qt::EditRole));
    QCOMPARE(f.failureTable()->cell(1, 3), QStringLiteral("x"));
    auto* points =
        qobject_cast<QXYSeries*>(findSeries(f.accumulationChart, ChartSeries::AccumulationPoints));
    QVERIFY(points);
    int atLeastOneHour = 0;
    for (const auto& p : f.state().Otkazy) atLeastOneHour += p.time >= 1 ? 1 : 0;
    QCOMPARE(points->count(), atLeastOneHour);
}

void WindowsTest::largeFileFillsTheWholeTable() {
    // 100,000 failures: the table holds every row and the view scrolls to the last one.
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("big.txt"));
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QByteArray text = "Big fleet\r\n3000\r\n800\r\n200000\r\n100000\r\n1\r\nGen\r\n";
    for (int i = 0; i < 100000; ++i)
        text += QByteArray::number(1.0 + (i * 7919) % 6000) + "\tGen unit number " +
                QByteArray::number(i) + " * worn\r\n";
    file.write(text);
    file.close();
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(path);
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));
    QCOMPARE(f.failureTable()->rowCount(), 100001);
    QCOMPARE(f.failureTable()->cell(100000, 0), QStringLiteral("100000"));
    // The chart draws a thinned line; the analysis keeps every failure.
    auto* points =
        qobject_cast<QXYSeries*>(findSeries(f.accumulationChart, ChartSeries::AccumulationPoints));
    QVERIFY(points && points->count() > 100 && points->count() <= 4000);
    QCOMPARE(f.state().Otkazy.size(), std::size_t(100000));
    f.failureView->scrollToBottom();
    QApplication::processEvents();
}

void WindowsTest::runBeforeAnyLoadReportsTheEmptyField() {
    Windows w;
    TForm1& f = *w.form1;
    QVERIFY(w.runAndWait(f.calculateButton));
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(w.messages.first(), wf::msg::notANumber(QString()));
    QVERIFY(!w.form5->isVisible());
    QVERIFY(f.calculateButton->isEnabled());
}

void WindowsTest::calculationRunsOnWorkerAndFillsResults() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    QVERIFY(f.mleBox->isChecked()); // the only model with bounds is ticked from the start
    tickOnly(f, true, false, false);
    QSignalSpy done(&f, &TForm1::jobFinished);
    f.calculateButton->click();
    // While the worker runs, nothing that changes the analysis may start.
    QVERIFY(f.jobRunning());
    QVERIFY(!f.calculateButton->isEnabled());
    QVERIFY(!f.openDataButton->isEnabled());
    QVERIFY(!f.geneticButton->isEnabled());
    QVERIFY(!f.externalButton->isEnabled());
    QVERIFY(done.wait(120000));
    QVERIFY(f.calculateButton->isEnabled());
    QVERIFY(!f.jobRunning());

    TForm5& r = *w.form5;
    QVERIFY(r.isVisible());
    QCOMPARE(cell(r, 0, 0), QStringLiteral("Результаты для моделей:"));
    QCOMPARE(cell(r, 1, 0), QStringLiteral("Пирсона/спир.спуск"));
    QCOMPARE(cell(r, 2, 0), QStringLiteral("Данные эксплуатации"));
    for (int c = 3; c < 7; ++c) QVERIFY(cell(r, c, 0).isEmpty());
    QVERIFY(cell(r, 1, 1).contains(QStringLiteral(" / ")));
    QVERIFY(cell(r, 2, 10).endsWith(QStringLiteral(" (до 1000 ч.)")));
    QVERIFY(r.captionLabel->text().endsWith(QStringLiteral(" шт.)")));
    QVERIFY(f.logEdit->toPlainText().split('\n').size() > 2);

    // Model 1.1 shown, the genetic model hidden.
    QVERIFY(findSeries(r.rateChart, ChartSeries::SpiralRate)->isVisible());
    QVERIFY(!findSeries(r.rateChart, ChartSeries::GeneticRate)->isVisible());
    QVERIFY(!findSeries(r.rateChart, ChartSeries::SmirnovRateCensored)->isVisible());
}

void WindowsTest::secondRunAddsColumnWithoutDuplicatingCauseSeries() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    tickOnly(f, true, false, false);
    QVERIFY(w.runAndWait(f.calculateButton));
    tickOnly(f, false, false, true);
    QVERIFY(w.runAndWait(f.calculateButton));
    TForm5& r = *w.form5;
    // Model 1.1 of the first run stays beside the new model 2.
    QCOMPARE(cell(r, 1, 0), QStringLiteral("Пирсона/спир.спуск"));
    QCOMPARE(cell(r, 2, 0), QStringLiteral("Критерий Смирнова"));
    QCOMPARE(cell(r, 3, 0), QStringLiteral("Данные эксплуатации"));
    QVERIFY(findSeries(r.rateChart, ChartSeries::SmirnovRateCensored)->isVisible());

    const int causes = causesWithFailures(f.state());
    QVERIFY(causes > 2);
    QCOMPARE(causeBars(r.rateChart).size(), causes);
    QCOMPARE(causeBars(r.totalsChart).size(), causes);
    QCOMPARE(causeBars(r.lnChart).size(), 2 * causes);
    QVERIFY(!causeBars(r.rateChart).first()->name().isEmpty());
}

void WindowsTest::warrantyFileFillsItsFields() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    const QString meanBefore = f.warrantyMeanEdit->text();
    f.loadWarrantyFile(test::warrantySamplePath());
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));
    QVERIFY(!f.warrantyFileEdit->text().isEmpty());
    QVERIFY(f.warrantyCountEdit->text().toInt() > 1);
    QVERIFY(!f.warrantyFileMeanEdit->text().isEmpty());
    QVERIFY(f.warrantyMeanEdit->text() != meanBefore || !f.warrantyFileSdEdit->text().isEmpty());
}

void WindowsTest::logViewShowsFailuresAndDisposesOnContinue() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    f.Button2Click();
    QPointer<TLNview> view = f.logView();
    QVERIFY(view);
    QVERIFY(!f.isVisible());
    QVERIFY(view->windowTitle().startsWith(QStringLiteral("Анализ закона распределения отказов.")));
    auto* s1 =
        qobject_cast<QXYSeries*>(findSeries(view->logChart, ChartSeries::AccumulationPoints));
    auto* s2 = qobject_cast<QXYSeries*>(findSeries(view->logChart, ChartSeries::AccumulationLine));
    QVERIFY(s1 && s2);
    int positive = 0;
    int first = -1;
    const auto& ot = f.state().Otkazy;
    for (int i = 0; i < static_cast<int>(ot.size()); ++i)
        if (ot[static_cast<std::size_t>(i)].time > 0) {
            if (first < 0) first = i;
            ++positive;
        }
    QCOMPARE(s1->count(), positive);
    // Failures at time 0 get no point but still count: the first point stands at first + 1
    // failures (a log axis: the values themselves, not their logarithms).
    QVERIFY(qAbs(s1->at(0).y() - (first + 1.0)) < 1e-9);
    QVERIFY(qobject_cast<QLogValueAxis*>(view->logChart->axes(Qt::Horizontal).first()));
    QVERIFY(qobject_cast<QLogValueAxis*>(view->logChart->axes(Qt::Vertical).first()));
    QCOMPARE(s2->count(), 2);
    QVERIFY(view->aLabel->text().startsWith(QStringLiteral("A= ")));
    QVERIFY(view->bLabel->text().startsWith(QStringLiteral("B= ")));
    QCOMPARE(view->captionLabel->text(), f.state().Kommentarij);

    view->continueButton->click();
    QTRY_VERIFY(view.isNull());
    QVERIFY(f.isVisible());
}

void WindowsTest::printingGivesLandscapePdf() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    tickOnly(f, true, true, true);
    f.mleBox->setChecked(true);
    QVERIFY(w.runAndWait(f.calculateButton));
    // Scrolled to its far end the table shows only its last columns; the page holds all.
    w.form5->resultsTable->horizontalScrollBar()->setValue(
        w.form5->resultsTable->horizontalScrollBar()->maximum());
    QTemporaryDir dir;
    const QString pdf = dir.filePath(QStringLiteral("results.pdf"));
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(pdf);
    printer.setPageOrientation(QPageLayout::Landscape);
    QVERIFY(w.form5->printTo(printer));
    QFile file(pdf);
    QVERIFY(file.open(QIODevice::ReadOnly));
    const QByteArray bytes = file.readAll();
    QVERIFY(bytes.startsWith("%PDF"));
    QVERIFY(bytes.size() > 10000);
    const auto m = QRegularExpression(QStringLiteral("/MediaBox \\[0 0 ([0-9.]+) ([0-9.]+)\\]"))
                       .match(QString::fromLatin1(bytes));
    QVERIFY(m.hasMatch());
    QVERIFY(m.captured(1).toDouble() > m.captured(2).toDouble());
    QVERIFY(bytes.size() < 2000000);
    QProcess text;
    text.start(QStringLiteral("pdftotext"), {QStringLiteral("-raw"), pdf, QStringLiteral("-")});
    QVERIFY(text.waitForFinished(60000));
    const QString read = QString::fromUtf8(text.readAllStandardOutput()).replace('\n', ' ');
    for (const QString& want :
         {QStringLiteral("Пирсона/Ньютона"), QStringLiteral("Пирсона/спир.спуск"),
          QStringLiteral("Критерий Смирнова"), wf::msg::mleColumn,
          QStringLiteral("Данные эксплуатации"), QStringLiteral("Pirson/СС 1.1 ценз."),
          QStringLiteral("Pirson/Newton 1.2 ценз."), QStringLiteral("Модель по Смирнову"),
          QStringLiteral("Линия наименьших квадратов"), QStringLiteral("Выбывание, %"),
          wf::msg::causesTitle, wf::msg::causesWholeFleet})
        QVERIFY2(read.contains(want), qPrintable(want));

    f.Button2Click();
    QPrinter printer2(QPrinter::HighResolution);
    printer2.setOutputFormat(QPrinter::PdfFormat);
    const QString pdf2 = dir.filePath(QStringLiteral("log.pdf"));
    printer2.setOutputFileName(pdf2);
    QVERIFY(f.logView()->printTo(printer2));
    QVERIFY(QFileInfo(pdf2).size() > 1000);
    f.logView()->close();
}

void WindowsTest::causesPageTakesModelThreeByCauseAndAnotherWarranty() {
    Windows w;
    TForm1& f = *w.form1;
    TForm5& r = *w.form5;
    f.loadDataFile(test::samplePath());
    tickOnly(f, true, false, false);
    QVERIFY(w.runAndWait(f.calculateButton));
    QVERIFY(!r.causesButton->isEnabled()); // no model 3, no page
    f.mleBox->setChecked(true);
    QVERIFY(w.runAndWait(f.calculateButton));
    QVERIFY(r.causesButton->isEnabled());
    r.causesButton->click();
    TCausesView& c = *r.causesWindow;
    QVERIFY(c.isVisible());
    // The whole fleet, then every cause of the file but "Брак".
    const int causes = static_cast<int>(wf::causeSamples(f.state()).causes.size());
    QCOMPARE(c.causesTable->rowCount(), 1 + causes);
    QCOMPARE(c.causesTable->columnCount(), static_cast<int>(wf::msg::causesHeading.size()));
    QCOMPARE(c.causesTable->item(0, 0)->text(), wf::msg::causesWholeFleet);
    QVERIFY(c.causesChart->series().size() >= 4);
    QCOMPARE(wf::fmt::parseNumber(c.whatIfMean->text()),
             wf::fmt::parseNumber(f.warrantyMeanEdit->text()));

    // A text that is no number is named and changes nothing; a law adds its two columns.
    c.whatIfMean->setText(QStringLiteral("пять"));
    QVERIFY(!c.WhatIfBtnClick());
    QCOMPARE(w.messages.last(), wf::msg::notANumber(QStringLiteral("пять")));
    c.whatIfMean->setText(QStringLiteral("5000"));
    c.whatIfSd->setText(QStringLiteral("-1"));
    QVERIFY(!c.WhatIfBtnClick());
    QCOMPARE(w.messages.last(),
             wf::msg::whatIfBadLaw(QStringLiteral("5000"), QStringLiteral("-1")));
    QCOMPARE(c.causesTable->columnCount(), static_cast<int>(wf::msg::causesHeading.size()));
    c.whatIfSd->setText(QStringLiteral("500"));
    c.whatIfButton->click();
    QCOMPARE(c.causesTable->columnCount(), static_cast<int>(wf::msg::causesHeading.size()) + 2);
    QVERIFY(c.causesTable->item(0, c.causesTable->columnCount() - 1)->text().startsWith('+'));
    QVERIFY(c.notesLabel->toPlainText().contains(QStringLiteral("При гарантии 5000 ± 500 ч")));

    // Another file: the page belonged to the old data and goes with it; the typed law stays.
    f.loadDataFile(wf::test::samplePath(QStringLiteral("ball_bearings.txt")));
    QVERIFY(!c.isVisible());
    QVERIFY(!r.causesButton->isEnabled());
    QVERIFY(c.page() == nullptr);
    QCOMPARE(c.whatIfMean->text(), QStringLiteral("5000"));
}

void WindowsTest::resultsWindowContinueAndCloseShowMainWindow() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    QVERIFY(w.runAndWait(f.calculateButton));
    TForm5& r = *w.form5;
    QVERIFY(r.isVisible());
    QVERIFY(r.windowTitle().startsWith(
        QStringLiteral("Количественный анализ закона распределения отказов.")));
    r.continueButton->click();
    QVERIFY(!r.isVisible());
    QVERIFY(f.isVisible());
    // Closing keeps the content for the next results and brings the main window back.
    r.show();
    f.hide();
    r.close();
    QVERIFY(f.isVisible());
    QCOMPARE(cell(r, 1, 0), QStringLiteral("Пирсона/спир.спуск"));
}

void WindowsTest::geneticRunShowsProgressAndColumn() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    f.populationEdit->setText(QStringLiteral("20"));
    f.generationsEdit->setText(QStringLiteral("30"));
    f.crossoverTrack->setValue(40);
    f.mutationTrack->setValue(20);
    const int memoBefore = f.logEdit->blockCount();
    QSignalSpy done(&f, &TForm1::jobFinished);
    QSignalSpy progress(f.geneticProgress, &QProgressBar::valueChanged);
    f.geneticButton->click();
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));
    QVERIFY(!f.geneticButton->isEnabled());
    QVERIFY(!f.populationEdit->isEnabled());
    QVERIFY(!f.calculateButton->isEnabled());
    QVERIFY(done.wait(120000));
    QVERIFY(f.geneticButton->isEnabled());
    QVERIFY(f.populationEdit->isEnabled());
    // The bar went to the end and is empty again; the field holds the number typed.
    QVERIFY(std::any_of(progress.cbegin(), progress.cend(),
                        [](const QList<QVariant>& a) { return a.first().toInt() == 100; }));
    QCOMPARE(f.geneticProgress->value(), 0);
    QCOMPARE(f.generationsEdit->text(), QStringLiteral("30"));
    QVERIFY(f.logEdit->blockCount() > memoBefore);
    // The user's positions are back; where the search left them is in the log.
    QCOMPARE(f.crossoverTrack->value(), 40);
    QCOMPARE(f.mutationTrack->value(), 20);
    QVERIFY(f.logEdit->toPlainText().contains(QStringLiteral("ползунки возвращены")));
    TForm5& r = *w.form5;
    QVERIFY(r.isVisible());
    QCOMPARE(cell(r, 1, 0), QStringLiteral("Генетическая"));
    QVERIFY(findSeries(r.rateChart, ChartSeries::GeneticRateCensored)->isVisible());
    QVERIFY(f.state().ModGen.Executed);
}

void WindowsTest::geneticRunStopsOnStopButton() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    f.populationEdit->setText(QStringLiteral("20"));
    f.generationsEdit->setText(QStringLiteral("1000000"));
    f.mutationTrack->setValue(30);
    QSignalSpy done(&f, &TForm1::jobFinished);
    f.geneticButton->click();
    // Stop once the search counts its generations.
    QTRY_VERIFY_WITH_TIMEOUT(f.generationsEdit->text() != QStringLiteral("1000000"), test::kWaitMs);
    // Meanwhile the sliders show the search's own rate, and go back after "Стоп".
    QTRY_VERIFY_WITH_TIMEOUT(f.crossoverTrack->value() != 55, test::kWaitMs);
    f.stopGeneticButton->click();
    QElapsedTimer t;
    t.start();
    QVERIFY(done.wait(60000));
    QVERIFY(t.elapsed() < 30000);
    QCOMPARE(f.generationsEdit->text(), QStringLiteral("1000000"));
    QCOMPARE(f.crossoverTrack->value(), 55);
    QCOMPARE(f.mutationTrack->value(), 30);
    QVERIFY(f.geneticButton->isEnabled());
    QVERIFY(f.populationEdit->isEnabled());
    QVERIFY(f.state().ModGen.Executed);
}

void WindowsTest::lateCompletionsChangeNothing() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    tickOnly(f, true, false, false);
    QVERIFY(w.runAndWait(f.calculateButton)); // job 1
    const double mean = f.state().Sred_Gar;
    const QString shown = cell(*w.form5, 1, 1);
    // A done run that would replace model 1.1 and the warranty mean, as a finished or
    // never-started job could send it.
    const auto late = [](JobId job) {
        auto r = std::make_shared<CalcJobResult>();
        r->job = job;
        r->outcome.writes.ModSpir = wf::Mod_Weib{};
        r->outcome.writes.Sred_Gar = 1;
        return r;
    };
    QSignalSpy ended(&f, &TForm1::jobFinished);
    f.onCalcFinished(late(1));
    f.onGeneticFinished(std::make_shared<GeneticJobResult>());
    // While job 2 runs, job 1's result again.
    f.calculateButton->click();
    f.onCalcFinished(late(1));
    QVERIFY(f.jobRunning());
    QVERIFY(ended.wait(120000));
    QCOMPARE(ended.count(), 1);
    const auto unchanged = [&] {
        return f.state().ModSpir.Executed && f.state().Sred_Gar == mean &&
               cell(*w.form5, 1, 1) == shown;
    };
    QVERIFY(unchanged());
    f.onCalcFinished(late(2)); // and after it ended
    QVERIFY(unchanged());
    QCOMPARE(ended.count(), 1);
}

void WindowsTest::closingDuringCalculationEndsPromptly() {
    Windows w;
    TForm1& f = *w.form1;
    f.setEvalCostUs(std::nullopt); // the wall clock: the fits would run for minutes
    f.loadDataFile(test::samplePath());
    tickOnly(f, true, true, true);
    f.calculateButton->click();
    QVERIFY(f.jobRunning());
    // Close once the worker reports its first stage: the fits are under way.
    QTRY_VERIFY_WITH_TIMEOUT(f.calcStage->text() != wf::msg::stageCalculation, test::kWaitMs);
    QElapsedTimer t;
    t.start();
    f.close();
    QVERIFY(t.elapsed() < 5000);
    QVERIFY(!f.jobRunning());
    QVERIFY(!f.isVisible());
}

void WindowsTest::closingDuringGeneticRunEndsPromptly() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    f.populationEdit->setText(QStringLiteral("200"));
    f.generationsEdit->setText(QStringLiteral("1000000"));
    f.geneticButton->click();
    QVERIFY(f.jobRunning());
    // Close once the search counts its generations.
    QTRY_VERIFY_WITH_TIMEOUT(f.generationsEdit->text() != QStringLiteral("1000000"), test::kWaitMs);
    QElapsedTimer t;
    t.start();
    f.close();
    QVERIFY(t.elapsed() < 5000);
    QVERIFY(!f.jobRunning());
}

WF_LAPTOP_TEST_MAIN(WindowsTest)
#include "windows_test.moc"
