#include "ui/printing.h"

#include <QPainter>
#include <QPixmap>
#include <QPrinter>
#include <QWidget>

namespace wf::ui {

void prepareLandscape(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(false);
}

bool printWindowImage(QWidget* window, QPrinter& printer) {
    const QPixmap image = window->grab();
    QPainter painter;
    if (!painter.begin(&printer)) return false;
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const QRectF target(0, 0, page.width(), page.height());
    QSizeF size = image.size();
    size.scale(target.size(), Qt::KeepAspectRatio);
    painter.setRenderHint(QPainter::SmoothPixmapTransform);
    painter.drawPixmap(QRectF(QPointF(0, 0), size), image, QRectF(image.rect()));
    return painter.end();
}

} // namespace wf::ui
