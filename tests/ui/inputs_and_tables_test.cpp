// The windows keep to what the user loaded and typed, and their tables can be taken away:
// results belong to the data they were fitted on, the sliders stay where the user put them,
// the tables copy and save as text.

#include "ui_fixture.h"

#include "format/messages.h"
#include "ui/failure_table_model.h"

#include <QCheckBox>
#include <QClipboard>
#include <QItemSelectionModel>
#include <QLineEdit>
#include <QPushButton>
#include <QTableView>
#include <QTableWidget>
#include <QTemporaryDir>

using namespace wf::ui;
using wf::ui::test::Windows;

namespace {

QString bearingsPath() {
    return wf::test::samplePath(QStringLiteral("ball_bearings.txt"));
}

// Headings of the results table's shown columns, the row labels' column left out.
QStringList shownHeadings(const TForm5& r) {
    QStringList out;
    for (int c = 1; c < r.resultsTable->columnCount(); ++c)
        if (!r.resultsTable->isColumnHidden(c)) out << r.resultsTable->item(0, c)->text().trimmed();
    return out;
}

QStringList fileLines(const QString& path) {
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) return {};
    return QString::fromUtf8(f.readAll()).split(QLatin1Char('\n'));
}

} // namespace

class InputsAndTablesTest : public QObject {
    Q_OBJECT
private slots:
    void resultsBelongToTheDataTheyWereFittedOn();
    void copyKeyPutsTheSelectedRectangleOnTheClipboard();
    void savedTablesReadBackAsTheirCells();
};

void InputsAndTablesTest::resultsBelongToTheDataTheyWereFittedOn() {
    Windows w;
    TForm1& f = *w.form1;
    TForm5& r = *w.form5;
    f.loadDataFile(test::samplePath());
    f.spiralBox->setChecked(true);
    f.smirnovBox->setChecked(true);
    f.mleBox->setChecked(false);
    QVERIFY(w.runAndWait(f.calculateButton));
    QCOMPARE(shownHeadings(r),
             (QStringList{QStringLiteral("Пирсона/спир.спуск"), QStringLiteral("Критерий Смирнова"),
                          QStringLiteral("Данные эксплуатации")}));

    f.loadDataFile(bearingsPath());
    QVERIFY(w.messages.isEmpty());
    QVERIFY(!r.isVisible());
    QVERIFY(!f.resultsButton->isEnabled());
    for (int c = 0; c < r.resultsTable->columnCount(); ++c)
        QVERIFY(r.resultsTable->item(0, c)->text().isEmpty());

    // Model 3 alone: no column of the sample's models beside it.
    f.spiralBox->setChecked(false);
    f.smirnovBox->setChecked(false);
    f.mleBox->setChecked(true);
    QVERIFY(w.runAndWait(f.calculateButton));
    QCOMPARE(shownHeadings(r),
             (QStringList{wf::msg::mleColumn, QStringLiteral("Данные эксплуатации")}));
}

void InputsAndTablesTest::copyKeyPutsTheSelectedRectangleOnTheClipboard() {
    Windows w;
    TForm1& f = *w.form1;
    f.loadDataFile(test::samplePath());
    // Failures 1 to 3 of the sample, their numbers and times: three rows of two cells.
    QAbstractItemModel* m = f.failureView->model();
    f.failureView->selectionModel()->select(QItemSelection(m->index(1, 0), m->index(3, 1)),
                                            QItemSelectionModel::ClearAndSelect);
    QApplication::clipboard()->clear();
    QTest::keyClick(f.failureView, Qt::Key_C, Qt::ControlModifier);
    QCOMPARE(QApplication::clipboard()->text(), QStringLiteral("1\t0\n2\t0\n3\t0\n"));
}

void InputsAndTablesTest::savedTablesReadBackAsTheirCells() {
    Windows w;
    TForm1& f = *w.form1;
    TForm5& r = *w.form5;
    QTemporaryDir dir;
    f.loadDataFile(test::samplePath());
    QVERIFY(f.saveProblemsButton->isEnabled());
    // The table as shown, an edit included; the header row first, padding dropped.
    f.failureTable()->setData(f.failureTable()->index(1, 3), QStringLiteral("течь; «x»"),
                              Qt::EditRole);
    const QString problems = dir.filePath(QStringLiteral("отказы.csv"));
    QVERIFY(f.saveProblems(problems));
    const QStringList lines = fileLines(problems);
    QCOMPARE(lines.size(), f.failureTable()->rowCount() + 1); // the last line ends too
    QCOMPARE(lines[0], QStringLiteral("№ отказа;Наработка, ч;Источник отказа;Описание отказа"));
    QCOMPARE(lines[1], QStringLiteral("1;0;Брак;\"течь; «x»\""));
    QCOMPARE(lines[2], QStringLiteral("2;0;Брак;нет маркировки, забракован"));

    f.spiralBox->setChecked(true);
    f.mleBox->setChecked(false);
    QVERIFY(w.runAndWait(f.calculateButton));
    const QString results = dir.filePath(QStringLiteral("results.csv"));
    QVERIFY(r.saveTable(results));
    const QStringList rows = fileLines(results);
    QCOMPARE(rows.size(), wf::kResultRows + 1);
    QCOMPARE(rows[0],
             QStringLiteral("Результаты для моделей:;Пирсона/спир.спуск;Данные эксплуатации"));
    QCOMPARE(rows[2].section(QLatin1Char(';'), 0, 0), QStringLiteral("Коэффициент повторности"));
    QCOMPARE(rows[2].section(QLatin1Char(';'), 1, 1), r.resultsTable->item(2, 1)->text().trimmed());

    // A folder that does not exist: a message, no file.
    const QString nowhere = dir.filePath(QStringLiteral("нет/таблица.csv"));
    QVERIFY(!r.saveTable(nowhere));
    QCOMPARE(w.messages.last(), wf::msg::tableCannotWrite(nowhere));
    QVERIFY(!QFile::exists(nowhere));
}

WF_LAPTOP_TEST_MAIN(InputsAndTablesTest)
#include "inputs_and_tables_test.moc"
