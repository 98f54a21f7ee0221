#pragma once
// The failure table: row 0 holds the header texts, row i + 1 failure i. Texts are
// built once per load so the view stays fast at 100,000 rows; edits stay in the table
// and are never read back by the analysis.

#include <QAbstractTableModel>
#include <QString>

#include <array>
#include <vector>

namespace wf::ui {

class FailureTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    using Row = std::array<QString, 4>;
    explicit FailureTableModel(QObject* parent = nullptr);

    // Replaces the whole table: the header row and one row per failure.
    void setRows(const Row& header, std::vector<Row> rows);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    QVariant headerData(int section, Qt::Orientation o, int role) const override;

    // Text of a cell; row 0 is the header.
    QString cell(int row, int column) const;

private:
    Row header_;
    std::vector<Row> rows_;
};

} // namespace wf::ui
