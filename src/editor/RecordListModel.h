#pragma once
// A record page's list: sorted lines of visible name and record number. Filling it is one sort
// and one model reset, not a sorted insertion per line; a line's text is made when it is shown.

#include "gamedb/ListOrder.h"

#include <QAbstractListModel>

#include <string_view>

namespace editor {

class RecordListModel : public QAbstractListModel {
    Q_OBJECT
public:
    using QAbstractListModel::QAbstractListModel;

    int rowCount(const QModelIndex& parent = {}) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

    // Sorts lines and shows them in place of the old ones.
    void setLines(gamedb::ListLines lines);
    void clear() { setLines({}); }
    // Puts a line named gameName (game bytes) at its sorted place; returns its row.
    int insertLine(std::string_view gameName, int number);

    // The record number behind row (0 when row is out of range).
    int recordAt(int row) const;
    // The row of record number's line; -1 when the list has none.
    int rowOf(int number) const;
    const gamedb::ListLines& lines() const { return lines_; }

private:
    gamedb::ListLines lines_;
};

} // namespace editor
