#pragma once
// A record page's table as rows and columns: a row per record that passes the filters, in the
// chosen order; the record number, then one column per schema field. Cells are decoded from the
// table when they are shown; nothing is copied. The rows follow the page's table: a store repaints
// its row, New adds a row at the end, Delete removes its row and renumbers the moved record, and
// anything else applies the filters and the order again. An edited row stays where it is.

#include "gamedb/RecordQuery.h"

#include <QAbstractTableModel>
#include <QPointer>

#include <functional>
#include <vector>

namespace editor {

class RecordPage;
struct TableEdit;

class RecordTableModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit RecordTableModel(RecordPage& page, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = {}) const override;
    int columnCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;
    // A check box's click: stored through the page's rule for the field.
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    // The rows in the column's order (-1: record order), the filters applied again.
    void sort(int column, Qt::SortOrder order = Qt::AscendingOrder) override;

    // None for the record-number column.
    const gamedb::Field* fieldOf(int column) const;
    RecordPage* page() const { return page_; }
    int recordAt(int row) const;
    int rowOf(int record) const;
    const std::vector<int>& rows() const { return rows_; }

    // The filter of column, read from its box's text; throws GameError with the reason when the
    // text cannot be read, and then that column filters nothing. Applied by apply().
    void setFilter(int column, const QString& expression);
    // Filters and sorts the table's records again (F5, a changed filter or sort).
    void apply();

    // Writes record of row through the page (see RecordPage::editRecord); false when refused.
    bool write(int row, const std::function<void(std::uint8_t*)>& store);

signals:
    // The shown rows or the table's count changed.
    void countsChanged();

private:
    void follow(const TableEdit& edit);

    QPointer<RecordPage> page_;
    std::vector<const gamedb::Field*> columns_; // nullptr first: the record number
    std::vector<QString> captions_;
    std::vector<std::optional<gamedb::CellFilter>> filters_;
    std::vector<int> rows_;
    int sortColumn_ = -1;
    bool descending_ = false;
};

} // namespace editor
