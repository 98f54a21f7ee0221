#include "ui/message_box.h"

#include "format/messages.h"

#include "ui/app_info.h"

#include <QApplication>
#include <QMessageBox>

namespace wf::ui {

namespace {
MessageHook& hook() {
    static MessageHook h;
    return h;
}
CaptionedMessageHook& captionedHook() {
    static CaptionedMessageHook h;
    return h;
}
} // namespace

void setMessageHook(MessageHook h) {
    hook() = std::move(h);
}

void setCaptionedMessageHook(CaptionedMessageHook h) {
    captionedHook() = std::move(h);
}

void showMessage(QWidget* parent, const QString& text, const QString& caption) {
    if (captionedHook()) captionedHook()(caption, text);
    if (hook()) hook()(text);
    if (hook() || captionedHook()) return;
    // A box under the busy cursor looks like the program is still working.
    const bool busy = QApplication::overrideCursor() != nullptr;
    if (busy) QApplication::setOverrideCursor(Qt::ArrowCursor);
    QMessageBox box(QMessageBox::NoIcon, caption.isEmpty() ? applicationTitle() : caption, text,
                    QMessageBox::Ok, parent);
    box.exec();
    if (busy) QApplication::restoreOverrideCursor();
}

void showMessages(QWidget* parent, const QStringList& texts, int cap) {
    const int n = static_cast<int>(texts.size());
    for (int i = 0; i < n && i < cap; ++i) showMessage(parent, texts[i]);
    // A file with thousands of bad lines must not bury the user under boxes.
    if (n > cap) showMessage(parent, wf::msg::moreMessages(n - cap));
}

} // namespace wf::ui
