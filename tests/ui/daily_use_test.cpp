// The windows on a laptop screen in daily use: every control reachable and enabled when it
// should be, no typed input lost or overwritten, the results window reachable again.

#include "ui_fixture.h"

#include "format/messages.h"

#include <QAbstractSlider>
#include <QCheckBox>
#include <QLineEdit>
#include <QPrinter>
#include <QProgressBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QScrollBar>
#include <QTabBar>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace wf::ui;
using wf::ui::test::Windows;

namespace {

// Seen whole and clickable: shown, after its page scrolled to it wholly inside its window,
// and the window inside the screen's available area.
bool reachable(QWidget* w) {
    for (QWidget* p = w->parentWidget(); p; p = p->parentWidget())
        if (auto* area = qobject_cast<QScrollArea*>(p)) area->ensureWidgetVisible(w, 0, 0);
    QApplication::processEvents();
    QWidget* win = w->window();
    const QRect inWindow(w->mapTo(win, QPoint(0, 0)), w->size());
    return w->isVisible() && win->rect().contains(inWindow) &&
           w->visibleRegion().boundingRect() == w->rect() &&
           win->screen()->availableGeometry().contains(win->geometry());
}

// The controls a user can act on that the current page and the rest of the window show.
QList<QWidget*> shownControls(QWidget* win) {
    QList<QWidget*> out;
    const auto all = win->findChildren<QWidget*>();
    for (QWidget* w : all) {
        const bool control = qobject_cast<QAbstractButton*>(w) || qobject_cast<QLineEdit*>(w) ||
                             qobject_cast<QAbstractSlider*>(w);
        const bool chrome = qobject_cast<QScrollBar*>(w) || qobject_cast<QTabBar*>(w->parent());
        if (control && !chrome && w->isVisibleTo(win)) out << w;
    }
    return out;
}

QString names(const QList<QWidget*>& ws) {
    QStringList n;
    for (const QWidget* w : ws) n << w->objectName();
    return n.join(QLatin1Char(' '));
}

} // namespace

class DailyUseTest : public QObject {
    Q_OBJECT
private slots:
    void everyControlIsReachableOnALaptopScreen();
    void controlsAreEnabledWhenTheyApply();
    void resultsWindowOpensAgainFromTheMainWindow();
    void refusedFileLeavesTheLoadedPathShown();
    void badNumberFocusesAndNamesItsField();
    void burnInEditedDuringARunDoesNotReachTheResults();
    void resultsTableShowsItsColumnsWholeAndReadOnly();
    void printingThatCannotStartSaysSo();
};

void DailyUseTest::everyControlIsReachableOnALaptopScreen() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    // A 740 px high area less the title bar (and the few pixels of this platform's frame).
    QVERIFY(f.minimumSizeHint().height() <= 700);
    f.showNormal();
    f.resize(1360, 700);
    f.move(0, 0);
    QApplication::processEvents();
    QCOMPARE(f.height(), 700);
    const QStringList expected[2] = {{"FilePath", "OpenFileStart", "LabeledEdit3", "SpeedButton1",
                                      "MaskEditSKO", "Button2", "ResultsBtn", "Edit5", "SKO_Flag",
                                      "BoxSmirnow", "RadioGroup1Item2", "bbRaschet", "StopCalcBtn"},
                                     {"NPokoleny", "LabeledEdit1", "TrackBar2", "btnCopyBest",
                                      "StopBtn", "ToolBRunGenOptim", "OutsorsGoBtn"}};
    for (int page = 0; page < 2; ++page) {
        f.pages->setCurrentIndex(page);
        const QList<QWidget*> controls = shownControls(&f);
        for (const QString& name : expected[page])
            QVERIFY2(names(controls).split(' ').contains(name), qPrintable(name));
        for (QWidget* c : controls) QVERIFY2(reachable(c), qPrintable(c->objectName()));
    }

    // The results window and the log-scale view fit the screen with their buttons.
    QVERIFY(w.runAndWait(f.calculateButton));
    QVERIFY(reachable(w.form5->continueButton));
    QVERIFY(reachable(w.form5->printButton));
    QVERIFY(reachable(w.form5->saveTableButton));
    w.form5->hide();
    f.Button2Click();
    QVERIFY(reachable(f.logView()->continueButton));
    QVERIFY(reachable(f.logView()->printButton));
    f.logView()->close();
}

void DailyUseTest::controlsAreEnabledWhenTheyApply() {
    Windows w;
    TForm1& f = *w.form1;
    const QList<QWidget*> starters = {f.openDataButton, f.openWarrantyButton, f.calculateButton,
                                      f.geneticButton, f.externalButton};
    const auto enabled = [](const QList<QWidget*>& ws, bool on) {
        return std::all_of(ws.cbegin(), ws.cend(),
                           [on](QWidget* x) { return x->isEnabled() == on; });
    };
    QVERIFY(enabled(starters, true));
    QVERIFY(enabled({f.stopCalcButton, f.stopGeneticButton, f.resultsButton}, false));
    f.loadDataFile(test::samplePath());
    QSignalSpy done(&f, &TForm1::jobFinished);
    f.calculateButton->click();
    QVERIFY(enabled(starters, false));
    QVERIFY(enabled({f.stopCalcButton, f.stopGeneticButton}, true));
    QVERIFY(reachable(f.stopCalcButton)); // on the page that started the run
    QVERIFY(done.wait(120000));
    QVERIFY(enabled(starters, true));
    QVERIFY(enabled({f.stopCalcButton, f.stopGeneticButton}, false));
    QVERIFY(f.resultsButton->isEnabled());
}

void DailyUseTest::resultsWindowOpensAgainFromTheMainWindow() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    QVERIFY(w.runAndWait(f.calculateButton));
    TForm5& r = *w.form5;
    const QString heading = r.resultsTable->item(0, 1)->text();
    r.continueButton->click();
    QVERIFY(!r.isVisible());
    f.resultsButton->click();
    QVERIFY(r.isVisible());
    QCOMPARE(r.resultsTable->item(0, 1)->text(), heading);
}

void DailyUseTest::refusedFileLeavesTheLoadedPathShown() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    QTemporaryDir dir;
    f.loadDataFile(dir.filePath(QStringLiteral("missing.txt")));
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(f.filePathEdit->text(), test::samplePath());
}

void DailyUseTest::badNumberFocusesAndNamesItsField() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    // The calculation converts on its worker: the focus waits for the message.
    f.warrantySdEdit->setText(QStringLiteral("8OO"));
    f.filePathEdit->setFocus();
    QVERIFY(w.runAndWait(f.calculateButton));
    QCOMPARE(w.messages, QStringList{wf::msg::notANumber(QStringLiteral("8OO"))});
    QCOMPARE(w.captions.first(), wf::msg::fieldCaption(QStringLiteral("СКО времени гарантии")));
    QCOMPARE(w.busyCursor, QList<bool>{false});
    QCOMPARE(QApplication::focusWidget(), f.warrantySdEdit);
    QCOMPARE(f.warrantySdEdit->selectedText(), QStringLiteral("8OO"));
    QVERIFY(!f.filePathEdit->hasSelectedText());

    // A refused value names its field too, even where an earlier field holds the same text.
    f.warrantySdEdit->setText(QStringLiteral("5"));
    f.populationEdit->setText(QStringLiteral("5"));
    w.messages.clear();
    w.captions.clear();
    f.geneticButton->click();
    QCOMPARE(w.messages.size(), 1);
    QCOMPARE(w.captions.first(), wf::msg::fieldCaption(QStringLiteral("Размер популяции")));
    QCOMPARE(QApplication::focusWidget(), f.populationEdit);
}

void DailyUseTest::burnInEditedDuringARunDoesNotReachTheResults() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    QSignalSpy done(&f, &TForm1::jobFinished);
    f.calculateButton->click();
    f.burnInEdit->setText(QStringLiteral("x")); // would hide the results behind a message
    QVERIFY(done.wait(120000));
    QVERIFY2(w.messages.isEmpty(), qPrintable(w.messages.join('\n')));
    QVERIFY(w.form5->resultsTable->item(10, 0)->text().contains(QStringLiteral("(300,")));
}

void DailyUseTest::resultsTableShowsItsColumnsWholeAndReadOnly() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    f.newtonBox->setChecked(true);
    f.smirnovBox->setChecked(true);
    f.mleBox->setChecked(false);
    QVERIFY(w.runAndWait(f.calculateButton));
    QTableWidget* grid = w.form5->resultsTable;
    QApplication::processEvents();
    // Three models and the data on a laptop screen: no scrolling, no blank columns.
    QCOMPARE(grid->horizontalScrollBar()->maximum(), 0);
    QVERIFY(!grid->isColumnHidden(4));
    QVERIFY(grid->isColumnHidden(5) && grid->isColumnHidden(6));
    // Nothing opens an editor whose old text a refresh would get back.
    QVERIFY(!(grid->item(3, 1)->flags() & Qt::ItemIsEditable));
    grid->setCurrentCell(3, 1);
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {},
                       grid->visualItemRect(grid->item(3, 1)).center());
    QTest::keyClick(grid, Qt::Key_F2);
    QVERIFY(!grid->viewport()->findChild<QLineEdit*>());
    // The row labels stay in view when the columns must scroll.
    w.form5->resize(700, w.form5->height());
    QApplication::processEvents();
    QVERIFY(grid->horizontalScrollBar()->maximum() > 0);
    grid->horizontalScrollBar()->setValue(grid->horizontalScrollBar()->maximum());
    auto* labels = grid->findChild<QTableView*>(QStringLiteral("Result_GridLabels"));
    QVERIFY(labels && labels->isVisible());
    QCOMPARE(labels->geometry().left(), grid->viewport()->geometry().left());
    QVERIFY(labels->isColumnHidden(1) && !labels->isColumnHidden(0));
}

void DailyUseTest::printingThatCannotStartSaysSo() {
    Windows w;
    QTemporaryDir dir;
    QPrinter printer(QPrinter::HighResolution);
    printer.setOutputFormat(QPrinter::PdfFormat);
    printer.setOutputFileName(dir.filePath(QStringLiteral("no/such/folder/page.pdf")));
    QVERIFY(!w.form5->printTo(printer));
    QCOMPARE(w.messages, QStringList{wf::msg::printerCannotOpen(printer.outputFileName())});
}

WF_LAPTOP_TEST_MAIN(DailyUseTest)
#include "daily_use_test.moc"
