#include "ui/failure_table_model.h"

namespace wf::ui {

FailureTableModel::FailureTableModel(QObject* parent)
    : QAbstractTableModel(parent) {}

void FailureTableModel::setRows(const Row& header, std::vector<Row> rows) {
    beginResetModel();
    header_ = header;
    rows_ = std::move(rows);
    endResetModel();
}

int FailureTableModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(rows_.size()) + 1;
}

int FailureTableModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : 4;
}

QString FailureTableModel::cell(int row, int column) const {
    if (column < 0 || column >= 4 || row < 0) return {};
    if (row == 0) return header_[column];
    if (row - 1 >= static_cast<int>(rows_.size())) return {};
    return rows_[row - 1][column];
}

QVariant FailureTableModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid()) return {};
    if (role == Qt::DisplayRole || role == Qt::EditRole) return cell(index.row(), index.column());
    return {};
}

bool FailureTableModel::setData(const QModelIndex& index, const QVariant& value, int role) {
    if (!index.isValid() || role != Qt::EditRole) return false;
    const int r = index.row(), c = index.column();
    if (r == 0)
        header_[c] = value.toString();
    else
        rows_[r - 1][c] = value.toString();
    emit dataChanged(index, index, {Qt::DisplayRole, Qt::EditRole});
    return true;
}

Qt::ItemFlags FailureTableModel::flags(const QModelIndex& index) const {
    if (!index.isValid()) return Qt::NoItemFlags;
    return Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemIsEditable;
}

QVariant FailureTableModel::headerData(int section, Qt::Orientation o, int role) const {
    if (role != Qt::DisplayRole) return {};
    if (o == Qt::Horizontal && section >= 0 && section < 4) return header_[section];
    if (o == Qt::Vertical) return section;
    return {};
}

} // namespace wf::ui
