// The windows keep to what the user loaded and typed, and their tables can be taken away:
// results belong to the data they were fitted on, the sliders stay where the user put them,
// the tables copy and save as text.

#include "ui_fixture.h"

#include "format/messages.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>
#include <QTableWidget>

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

} // namespace

class InputsAndTablesTest : public QObject {
    Q_OBJECT
private slots:
    void resultsBelongToTheDataTheyWereFittedOn();
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

WF_LAPTOP_TEST_MAIN(InputsAndTablesTest)
#include "inputs_and_tables_test.moc"
