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
} // namespace

void setMessageHook(MessageHook h) {
    hook() = std::move(h);
}

void showMessage(QWidget* parent, const QString& text) {
    if (hook()) {
        hook()(text);
        return;
    }
    QMessageBox box(QMessageBox::NoIcon, applicationTitle(), text, QMessageBox::Ok, parent);
    box.exec();
}

void showMessages(QWidget* parent, const QStringList& texts, int cap) {
    const int n = static_cast<int>(texts.size());
    for (int i = 0; i < n && i < cap; ++i) showMessage(parent, texts[i]);
    // A file with thousands of bad lines must not bury the user under boxes.
    if (n > cap) showMessage(parent, wf::msg::moreMessages(n - cap));
}

} // namespace wf::ui
