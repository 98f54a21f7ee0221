#include "ui/screenshot_tour.h"

#include "ui/log_view.h"
#include "ui/main_window.h"
#include "ui/results_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QPixmap>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

namespace wf::ui {

namespace {
void save(QWidget* w, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name);
    if (!w->grab().save(path)) QTextStream(stderr) << "cannot write " << path << Qt::endl;
}
} // namespace

void startScreenshotTour(TForm1& main, TForm5& results, const QString& dataFile,
                         const QString& outDir) {
    QDir().mkpath(outDir);
    QTimer::singleShot(300, &main, [&main, &results, dataFile, outDir] {
        if (!dataFile.isEmpty()) main.loadDataFile(dataFile);
        main.SpirSpusk->setChecked(true);
        main.BoxNewton->setChecked(true);
        main.BoxSmirnow->setChecked(true);
        QObject::connect(&main, &TForm1::jobFinished, &main, [&main, &results, outDir] {
            QTimer::singleShot(500, &main, [&main, &results, outDir] {
                save(&main, outDir, QStringLiteral("main_window.png"));
                main.PageControl1->setCurrentIndex(1);
                save(&main, outDir, QStringLiteral("main_window_genetic_page.png"));
                main.PageControl1->setCurrentIndex(0);
                save(&results, outDir, QStringLiteral("results_window.png"));
                results.hide();
                main.Button2Click();
                QTimer::singleShot(500, &main, [&main, outDir] {
                    if (TLNview* v = main.logView())
                        save(v, outDir, QStringLiteral("log_view.png"));
                    QApplication::quit();
                });
            });
        });
        main.bbRaschetClick();
    });
}

} // namespace wf::ui
