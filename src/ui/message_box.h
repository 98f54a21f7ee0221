#pragma once
// The program's plain message boxes. Tests install a hook that collects the texts
// instead of opening modal boxes.

#include <QString>
#include <QStringList>

#include <functional>

class QWidget;

namespace wf::ui {

using MessageHook = std::function<void(const QString& text)>;
// An empty hook restores the real message boxes.
void setMessageHook(MessageHook hook);

// A plain box with the application title as caption, owned by `parent`.
void showMessage(QWidget* parent, const QString& text);

// Shows at most `cap` boxes in order; the rest are summed up in one more box.
inline constexpr int kMessageCap = 5;
void showMessages(QWidget* parent, const QStringList& texts, int cap = kMessageCap);

} // namespace wf::ui
