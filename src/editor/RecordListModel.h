#pragma once
// A record page's list: sorted lines of visible name and record number. Filling it is one sort
// and one model reset, not a sorted insertion per line.

#include "gamedb/ListOrder.h"

#include <QAbstractListModel>

#include <vector>

namespace editor {

class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Sorts lines and shows them in place of the old ones.
    void setLines(std::vector<gamedb::ListLine> lines);
    void clear() { setLines({}); }
    // Puts one line at its sorted place; returns its row.
    int insertLine(gamedb::ListLine line);

    // The record number behind row (0 when row is out of range).
    int recordAt(int row) const;
    // The row of record number's line; -1 when the list has none.
    int rowOf(int number) const;
    const std::vector<gamedb::ListLine>& lines() const { return lines_; }

private:
    std::vector<gamedb::ListLine> lines_;
};

} // namespace editor
