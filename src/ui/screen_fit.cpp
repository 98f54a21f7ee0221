#include "ui/screen_fit.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

namespace wf::ui {

namespace {
QRect availableArea(const QWidget* w) {
    const QScreen* screen = w->screen() ? w->screen() : QGuiApplication::primaryScreen();
    return screen ? screen->availableGeometry() : QRect(0, 0, 1920, 1080);
}
} // namespace

void fitToScreen(QWidget* w, QSize preferred) {
    const QRect avail = availableArea(w);
    const QSize room = avail.size() - kFrameAllowance;
    if (preferred.width() <= room.width() && preferred.height() <= room.height()) {
        w->setWindowState(w->windowState() & ~Qt::WindowMaximized);
        w->resize(preferred);
        const QSize spare = room - preferred;
        w->move(avail.topLeft() + QPoint(spare.width() / 2, spare.height() / 2));
        return;
    }
    w->setGeometry(QRect(avail.topLeft(), preferred.boundedTo(room)));
    w->setWindowState(w->windowState() | Qt::WindowMaximized);
}

void showFillingScreen(QWidget* w) {
    w->setGeometry(availableArea(w)); // where no window manager maximises, this does
    w->showMaximized();
}

} // namespace wf::ui
