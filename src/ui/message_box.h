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
// The same with the box's caption too (empty: the application title).
using CaptionedMessageHook = std::function<void(const QString& caption, const QString& text)>;
void setCaptionedMessageHook(CaptionedMessageHook hook);

// A plain box owned by `parent`, with the application title or `caption` as caption and the
// normal mouse cursor while it is open.
void showMessage(QWidget* parent, const QString& text, const QString& caption = {});

// Shows at most `cap` boxes in order; the rest are summed up in one more box.
inline constexpr int kMessageCap = 5;
void showMessages(QWidget* parent, const QStringList& texts, int cap = kMessageCap);

} // namespace wf::ui
