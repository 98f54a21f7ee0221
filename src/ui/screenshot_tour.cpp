#include "ui/screenshot_tour.h"

#include "ui/causes_window.h"
#include "ui/log_view.h"
#include "ui/main_window.h"
#include "ui/results_window.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QGuiApplication>
#include <QLineEdit>
#include <QPixmap>
#include <QScreen>
#include <QTabWidget>
#include <QTextStream>
#include <QTimer>

namespace wf::ui {

namespace {
// Pictures taken on a screen other than 1920x1080 carry its size in their names.
QString sizeSuffix() {
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize size = screen ? screen->size() : QSize(1920, 1080);
    if (size == QSize(1920, 1080)) return QString();
    return QStringLiteral("_%1x%2").arg(size.width()).arg(size.height());
}

// Saves the window's picture and says whether it fits the screen's available area.
void save(QWidget* w, const QString& dir, const QString& name) {
    const QString path = QDir(dir).filePath(name + sizeSuffix() + QStringLiteral(".png"));
    if (!w->grab().save(path)) QTextStream(stderr) << "cannot write " << path << Qt::endl;
    const QScreen* screen = w->screen();
    const QRect avail = screen ? screen->availableGeometry() : QRect();
    const QRect frame = w->frameGeometry();
    QTextStream(stderr) << name << ": " << frame.width() << "x" << frame.height() << " at "
                        << frame.x() << "," << frame.y()
                        << (avail.contains(frame) ? " fits" : " DOES NOT FIT") << " the screen's "
                        << avail.width() << "x" << avail.height() << Qt::endl;
}
} // namespace

void startScreenshotTour(TForm1& main, TForm5& results, const QString& dataFile,
                         const QString& outDir) {
    QDir().mkpath(outDir);
    QTimer::singleShot(300, &main, [&main, &results, dataFile, outDir] {
        if (!dataFile.isEmpty()) main.loadDataFile(dataFile);
        main.spiralBox->setChecked(true);
        main.newtonBox->setChecked(true);
        main.smirnovBox->setChecked(true);
        main.mleBox->setChecked(true);
        QObject::connect(&main, &TForm1::jobFinished, &main, [&main, &results, outDir] {
            QTimer::singleShot(500, &main, [&main, &results, outDir] {
                save(&main, outDir, QStringLiteral("main_window"));
                main.pages->setCurrentIndex(1);
                save(&main, outDir, QStringLiteral("main_window_genetic_page"));
                main.pages->setCurrentIndex(0);
                save(&results, outDir, QStringLiteral("results_window"));
                results.CausesClick();
                results.causesWindow->whatIfMean->setText(QStringLiteral("5000"));
                results.causesWindow->WhatIfBtnClick();
                QTimer::singleShot(500, &main, [&main, &results, outDir] {
                    save(results.causesWindow, outDir, QStringLiteral("causes_window"));
                    results.causesWindow->hide();
                    results.hide();
                    main.Button2Click();
                    QTimer::singleShot(500, &main, [&main, outDir] {
                        if (TLNview* v = main.logView())
                            save(v, outDir, QStringLiteral("log_view"));
                        QApplication::quit();
                    });
                });
            });
        });
        main.bbRaschetClick();
    });
}

} // namespace wf::ui
