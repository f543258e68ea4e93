#include "editor/RecordListModel.h"

#include <algorithm>

namespace editor {

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const gamedb::ListLine& line = lines_[static_cast<std::size_t>(index.row())];
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return line.name;
    case Qt::UserRole:
        return line.record;
    default:
        return {};
    }
}

void RecordListModel::setLines(std::vector<gamedb::ListLine> lines)
{
    gamedb::sortListLines(lines);
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int RecordListModel::insertLine(gamedb::ListLine line)
{
    // The order of a fill, so the new line lands exactly where a refill would put it.
    gamedb::ensureKey(line);
    const auto at = std::upper_bound(lines_.begin(), lines_.end(), line, gamedb::listLess);
    const int row = static_cast<int>(at - lines_.begin());
    beginInsertRows({}, row, row);
    lines_.insert(at, std::move(line));
    endInsertRows();
    return row;
}

int RecordListModel::recordAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return lines_[static_cast<std::size_t>(row)].record;
}

int RecordListModel::rowOf(int number) const
{
    const auto at = std::find_if(lines_.begin(), lines_.end(),
                                 [number](const gamedb::ListLine& line) { return line.record == number; });
    return at == lines_.end() ? -1 : static_cast<int>(at - lines_.begin());
}

} // namespace editor
