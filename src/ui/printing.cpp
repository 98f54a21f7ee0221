#include "ui/printing.h"

#include "format/messages.h"
#include "ui/message_box.h"

#include <QPainter>

#include <QPrinter>
#include <QWidget>
#include <algorithm>

namespace wf::ui {

void prepareLandscape(QPrinter& printer) {
    printer.setPageOrientation(QPageLayout::Landscape);
    printer.setFullPage(false);
}

bool printWidgets(QWidget* window, const QList<QWidget*>& parts, QPrinter& printer) {
    QRect used;
    for (const QWidget* w : parts)
        if (w->isVisible()) used |= QRect(w->mapTo(window, QPoint(0, 0)), w->size());
    QPainter painter;
    if (!painter.begin(&printer)) {
        const QString name =
            printer.outputFileName().isEmpty() ? printer.printerName() : printer.outputFileName();
        showMessage(window, wf::msg::printerCannotOpen(name));
        return false;
    }
    if (used.isEmpty()) return painter.end();
    const QRectF page = printer.pageLayout().paintRectPixels(printer.resolution());
    const double scale = std::min(page.width() / used.width(), page.height() / used.height());
    painter.fillRect(QRectF(0, 0, page.width(), page.height()), Qt::white);
    painter.scale(scale, scale);
    painter.translate(-used.topLeft());
    for (QWidget* w : parts) {
        if (!w->isVisible()) continue;
        painter.save();
        painter.translate(w->mapTo(window, QPoint(0, 0)));
        // Drawn through the printer's paint engine: vector text and lines, no screen grab.
        w->render(&painter, QPoint(), QRegion(), QWidget::DrawChildren);
        painter.restore();
    }
    return painter.end();
}

} // namespace wf::ui
