#include "ui/table_copy.h"

#include "format/messages.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QClipboard>
#include <QFileDialog>
#include <QHeaderView>
#include <QKeyEvent>
#include <QSaveFile>
#include <QTableView>

#include <algorithm>

namespace wf::ui {

namespace {

// The copy key of one view. The shortcut override keeps a window's own Ctrl+C shortcut,
// if any, from taking the key away from the table.
class CopyKey : public QObject {
public:
    explicit CopyKey(QAbstractItemView* view)
        : QObject(view)
        , view_(view) {}

protected:
    bool eventFilter(QObject* watched, QEvent* e) override {
        if (watched != view_ ||
            (e->type() != QEvent::KeyPress && e->type() != QEvent::ShortcutOverride))
            return false;
        auto* key = static_cast<QKeyEvent*>(e);
        if (!key->matches(QKeySequence::Copy)) return false;
        if (e->type() == QEvent::ShortcutOverride) {
            e->accept();
            return true;
        }
        const TextRows rows = selectedCells(view_);
        if (!rows.empty())
            QApplication::clipboard()->setText(delimitedText(rows, kClipboardSeparator));
        return true;
    }

private:
    QAbstractItemView* view_;
};

bool rowShown(const QAbstractItemView* view, int row) {
    const auto* table = qobject_cast<const QTableView*>(view);
    return !table || !table->isRowHidden(row);
}

bool columnShown(const QAbstractItemView* view, int column) {
    const auto* table = qobject_cast<const QTableView*>(view);
    return !table || !table->isColumnHidden(column);
}

} // namespace

void enableTableCopy(QAbstractItemView* view) {
    view->installEventFilter(new CopyKey(view));
}

TextRows selectedCells(const QAbstractItemView* view) {
    const QItemSelectionModel* sel = view->selectionModel();
    if (!sel || !view->model()) return {};
    int top = -1, bottom = -1, left = -1, right = -1;
    const QModelIndexList picked = sel->selectedIndexes();
    for (const QModelIndex& i : picked) {
        if (!rowShown(view, i.row()) || !columnShown(view, i.column())) continue;
        top = top < 0 ? i.row() : std::min(top, i.row());
        bottom = std::max(bottom, i.row());
        left = left < 0 ? i.column() : std::min(left, i.column());
        right = std::max(right, i.column());
    }
    TextRows rows;
    if (top < 0) return rows;
    const QAbstractItemModel* m = view->model();
    for (int r = top; r <= bottom; ++r) {
        if (!rowShown(view, r)) continue;
        std::vector<QString> cells;
        for (int c = left; c <= right; ++c) {
            if (!columnShown(view, c)) continue;
            const QModelIndex i = m->index(r, c);
            cells.push_back(sel->isSelected(i) ? m->data(i).toString() : QString());
        }
        rows.push_back(std::move(cells));
    }
    return rows;
}

TextRows modelCells(const QAbstractItemModel* model) {
    TextRows rows(static_cast<std::size_t>(model->rowCount()));
    for (int r = 0; r < model->rowCount(); ++r)
        for (int c = 0; c < model->columnCount(); ++c)
            rows[static_cast<std::size_t>(r)].push_back(model->data(model->index(r, c)).toString());
    return rows;
}

bool writeCsvFile(const QString& path, const TextRows& rows) {
    QSaveFile f(path);
    if (!f.open(QIODevice::WriteOnly)) return false;
    const QByteArray bytes = delimitedText(rows, kCsvSeparator).toUtf8();
    if (f.write(bytes) != bytes.size()) {
        f.cancelWriting();
        return false;
    }
    return f.commit();
}

QString askCsvPath(QWidget* parent, const QString& caption) {
    return QFileDialog::getSaveFileName(parent, caption, QString(), msg::saveCsvFilter);
}

} // namespace wf::ui
