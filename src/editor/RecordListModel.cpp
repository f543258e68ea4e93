#include "editor/RecordListModel.h"

namespace editor {

int RecordListModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(lines_.size());
}

QVariant RecordListModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return {};
    const auto row = static_cast<std::size_t>(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::AccessibleTextRole:
        return lines_.name(row);
    case Qt::UserRole:
        return lines_.record(row);
    default:
        return {};
    }
}

void RecordListModel::setLines(gamedb::ListLines lines)
{
    lines.sort();
    beginResetModel();
    lines_ = std::move(lines);
    endResetModel();
}

int RecordListModel::insertLine(std::string_view gameName, int number)
{
    // The order of a fill, so the new line lands exactly where a refill would put it.
    const std::size_t row = lines_.rowFor(gameName, number);
    beginInsertRows({}, static_cast<int>(row), static_cast<int>(row));
    lines_.insert(row, gameName, number);
    endInsertRows();
    return static_cast<int>(row);
}

int RecordListModel::recordAt(int row) const
{
    if (row < 0 || row >= rowCount())
        return 0;
    return lines_.record(static_cast<std::size_t>(row));
}

int RecordListModel::rowOf(int number) const
{
    for (std::size_t row = 0; row < lines_.size(); ++row) {
        if (lines_.record(row) == number)
            return static_cast<int>(row);
    }
    return -1;
}

} // namespace editor
