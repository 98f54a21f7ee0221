// The open dialog of the data and warranty buttons: where it starts, its filter, and what
// a cancel does before and after a file was chosen.

#include "ui_fixture.h"

#include "ui/failure_table_model.h"

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPushButton>
#include <QTimer>

using namespace wf::ui;
using wf::ui::test::Windows;

namespace {

struct DialogSeen {
    QString directory;
    QStringList filters;
};

// Answers the next open dialog: picks `file` (empty: cancels) and notes what it showed.
void answerDialog(DialogSeen* seen, const QString& file) {
    QTimer::singleShot(50, [seen, file] {
        auto* d = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!d) {
            answerDialog(seen, file);
            return;
        }
        seen->directory = d->directory().absolutePath();
        seen->filters = d->nameFilters();
        if (file.isEmpty()) {
            d->reject();
        } else {
            // As a user would: type the path into the name field and press Enter.
            auto* edit = d->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
            edit->setText(file);
            QTest::keyClick(edit, Qt::Key_Return);
        }
    });
}

} // namespace

class OpenDialogTest : public QObject {
    Q_OBJECT
private slots:
    void cancelBeforeAnyChoiceLoadsNothing();
    void firstRunStartsBesideTheSamples();
    void cancelAfterAChoiceReloadsThatFile();
    void warrantyFilterStaysForDataFiles();
};

void OpenDialogTest::cancelBeforeAnyChoiceLoadsNothing() {
    Windows w;
    TForm1& f = *w.form1;
    f.filePathEdit->setText(test::samplePath());
    DialogSeen seen;
    answerDialog(&seen, {});
    f.openDataButton->click();
    QVERIFY(!f.state().Dannye_Gotovy);
    QCOMPARE(f.failureTable()->rowCount(), 1);
    // The dialog starts in the folder of the remembered file.
    QCOMPARE(seen.directory, QFileInfo(test::samplePath()).absolutePath());
    QCOMPARE(seen.filters, QStringList{QStringLiteral("файлы данных (txt,rel) (*.txt *.rel)")});
}

void OpenDialogTest::firstRunStartsBesideTheSamples() {
    Windows w;
    TForm1& f = *w.form1;
    // What the path field holds when no settings file names a data file yet.
    f.filePathEdit->setText(QCoreApplication::applicationDirPath());
    DialogSeen seen;
    answerDialog(&seen, {});
    f.openDataButton->click();
    QCOMPARE(QFileInfo(seen.directory).canonicalFilePath(),
             QFileInfo(QStringLiteral(WEIBFLOW_SOURCE_DIR "/data")).canonicalFilePath());
    QCOMPARE(f.filePathEdit->text(), QCoreApplication::applicationDirPath());
}

void OpenDialogTest::cancelAfterAChoiceReloadsThatFile() {
    Windows w;
    TForm1& f = *w.form1;
    DialogSeen seen;
    answerDialog(&seen, test::samplePath());
    f.openDataButton->click();
    QVERIFY(f.state().Dannye_Gotovy);
    const int rows = f.failureTable()->rowCount();
    QVERIFY(rows > 1);
    // An edit in the table is lost when the file is read again.
    f.failureTable()->setData(f.failureTable()->index(1, 3), QStringLiteral("x"), Qt::EditRole);
    answerDialog(&seen, {});
    f.openDataButton->click();
    QCOMPARE(f.failureTable()->rowCount(), rows);
    QVERIFY(f.failureTable()->cell(1, 3) != QStringLiteral("x"));
    QCOMPARE(QFileInfo(f.filePathEdit->text()).canonicalFilePath(),
             QFileInfo(test::samplePath()).canonicalFilePath());
}

void OpenDialogTest::warrantyFilterStaysForDataFiles() {
    Windows w;
    TForm1& f = *w.form1;
    DialogSeen seen;
    answerDialog(&seen, {});
    f.openWarrantyButton->click();
    QCOMPARE(seen.filters, QStringList{QStringLiteral("Файл времен гарантии (gar*.txt)")});
    answerDialog(&seen, {});
    f.openDataButton->click();
    QCOMPARE(seen.filters, QStringList{QStringLiteral("Файл времен гарантии (gar*.txt)")});
}

WF_LAPTOP_TEST_MAIN(OpenDialogTest)
#include "open_dialog_test.moc"
