#include "editor/RecordTableModel.h"

#include "editor/RecordPage.h"

#include <QCheckBox>

#include <algorithm>

namespace editor {
namespace {

bool isCheck(gamedb::ValueKind kind)
{
    return kind == gamedb::ValueKind::Flag || kind == gamedb::ValueKind::Position;
}

QString columnName(const gamedb::Field* f)
{
    if (!f)
        return QStringLiteral("record");
    return QString::fromUtf8(f->column.data(), static_cast<qsizetype>(f->column.size()));
}

} // namespace

RecordTableModel::RecordTableModel(RecordPage& page, QObject* parent) : QAbstractTableModel(parent), page_(&page)
{
    columns_.push_back(nullptr);
    captions_.push_back(QStringLiteral("Record"));
    for (const gamedb::Field& f : page.table().format().schema) {
        columns_.push_back(&f);
        captions_.push_back(page.fieldCaption(f));
    }
    filters_.resize(columns_.size());
    connect(&page, &RecordPage::tableEdited, this, &RecordTableModel::follow);
    // The page goes with its data editor: nothing is read from it after that.
    connect(&page, &QObject::destroyed, this, [this] {
        beginResetModel();
        rows_.clear();
        endResetModel();
    });
    apply();
}

int RecordTableModel::rowCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(rows_.size());
}

int RecordTableModel::columnCount(const QModelIndex& parent) const
{
    return parent.isValid() ? 0 : static_cast<int>(columns_.size());
}

const gamedb::Field* RecordTableModel::fieldOf(int column) const
{
    return columns_[static_cast<std::size_t>(column)];
}

int RecordTableModel::recordAt(int row) const
{
    return row >= 0 && row < rowCount() ? rows_[static_cast<std::size_t>(row)] : 0;
}

int RecordTableModel::rowOf(int record) const
{
    const auto at = std::find(rows_.begin(), rows_.end(), record);
    return at == rows_.end() ? -1 : static_cast<int>(at - rows_.begin());
}

QVariant RecordTableModel::data(const QModelIndex& index, int role) const
{
    if (!page_ || !index.isValid() || index.row() >= rowCount())
        return {};
    const gamedb::Field* f = fieldOf(index.column());
    const gamedb::ValueKind kind = gamedb::valueKind(f);
    const int record = recordAt(index.row());
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole:
        if (isCheck(kind))
            return {}; // a check mark, not a number
        return gamedb::shownValue(page_->table(), record, f);
    case Qt::AccessibleTextRole:
        return gamedb::shownValue(page_->table(), record, f);
    case Qt::CheckStateRole:
        if (!isCheck(kind))
            return {};
        return static_cast<Qt::CheckState>(gamedb::checkState(page_->table().record(record), *f));
    case Qt::TextAlignmentRole:
        if (kind == gamedb::ValueKind::Number)
            return QVariant::fromValue(Qt::AlignRight | Qt::AlignVCenter);
        return {};
    default:
        return {};
    }
}

QVariant RecordTableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= columnCount())
        return {};
    if (role == Qt::DisplayRole)
        return captions_[static_cast<std::size_t>(section)];
    if (role == Qt::ToolTipRole)
        return columnName(fieldOf(section));
    return {};
}

Qt::ItemFlags RecordTableModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags flags = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
    const gamedb::Field* f = index.isValid() ? fieldOf(index.column()) : nullptr;
    const FieldEditing* editing = f && page_ ? page_->editingOf(*f) : nullptr;
    if (!editing)
        return flags; // the record number and the ID: no box edits them
    switch (editing->box) {
    case FieldEditing::Box::Flag:
        return flags | Qt::ItemIsUserCheckable;
    case FieldEditing::Box::TriState:
        return flags | Qt::ItemIsUserCheckable | Qt::ItemIsUserTristate;
    default:
        return flags | Qt::ItemIsEditable;
    }
}

bool RecordTableModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    const gamedb::Field* f = index.isValid() ? fieldOf(index.column()) : nullptr;
    const FieldEditing* editing = f && page_ ? page_->editingOf(*f) : nullptr;
    if (role != Qt::CheckStateRole || !editing)
        return false;
    // The page's own rule for the box: a flag keeps a byte it cannot show unless it was changed.
    QCheckBox box;
    const auto binding = prepareBox(*editing, &box, f);
    return write(index.row(), [&](std::uint8_t* r) {
        binding->show(r);
        box.setCheckState(static_cast<Qt::CheckState>(value.toInt()));
        binding->store(r);
    });
}

void RecordTableModel::sort(int column, Qt::SortOrder order)
{
    sortColumn_ = column;
    descending_ = order == Qt::DescendingOrder;
    apply();
}

void RecordTableModel::setFilter(int column, const QString& expression)
{
    auto& filter = filters_[static_cast<std::size_t>(column)];
    filter.reset();
    if (!expression.isEmpty())
        filter.emplace(fieldOf(column), expression);
}

void RecordTableModel::apply()
{
    if (!page_)
        return;
    const gamedb::RecordTable& table = page_->table();
    std::vector<gamedb::CellFilter> active;
    for (const auto& f : filters_) {
        if (f)
            active.push_back(*f);
    }
    std::vector<int> rows = gamedb::matchingRecords(table, active);
    if (sortColumn_ >= 0 && sortColumn_ < columnCount())
        gamedb::sortRecords(table, rows, fieldOf(sortColumn_), descending_);
    // Where the records shown stay the same (a new sort), only their order changes: the view
    // keeps its columns, its current cell on the same record, and its place.
    std::vector<int> rowOfRecord(static_cast<std::size_t>(table.count()) + 1, -1);
    for (std::size_t i = 0; i < rows.size(); ++i)
        rowOfRecord[static_cast<std::size_t>(rows[i])] = static_cast<int>(i);
    const bool sameRecords = rows.size() == rows_.size() && std::all_of(rows_.begin(), rows_.end(), [&](int r) {
                                 return r >= 1 && r <= table.count() && rowOfRecord[static_cast<std::size_t>(r)] >= 0;
                             });
    if (!sameRecords) {
        beginResetModel();
        rows_ = std::move(rows);
        endResetModel();
        emit countsChanged();
        return;
    }
    emit layoutAboutToBeChanged({}, QAbstractItemModel::VerticalSortHint);
    const QModelIndexList before = persistentIndexList();
    QModelIndexList after;
    after.reserve(before.size());
    for (const QModelIndex& i : before)
        after << index(rowOfRecord[static_cast<std::size_t>(recordAt(i.row()))], i.column());
    rows_ = std::move(rows);
    changePersistentIndexList(before, after);
    emit layoutChanged({}, QAbstractItemModel::VerticalSortHint);
}

bool RecordTableModel::write(int row, const std::function<void(std::uint8_t*)>& store)
{
    const int record = recordAt(row);
    return page_ && record > 0 && page_->editRecord(record, store);
}

void RecordTableModel::follow(const TableEdit& edit)
{
    const int last = columnCount() - 1;
    switch (edit.kind) {
    case TableEdit::Kind::Stored:
        if (const int row = rowOf(edit.record); row >= 0)
            emit dataChanged(index(row, 0), index(row, last));
        break;
    case TableEdit::Kind::Added: {
        // At the end, filters or not, as a spreadsheet shows a new row; F5 sorts it in.
        const int row = rowCount();
        beginInsertRows({}, row, row);
        rows_.push_back(edit.record);
        endInsertRows();
        break;
    }
    case TableEdit::Kind::Removed:
        if (const int row = rowOf(edit.record); row >= 0) {
            beginRemoveRows({}, row, row);
            rows_.erase(rows_.begin() + row);
            endRemoveRows();
        }
        // The last record took the freed number.
        if (const int row = edit.movedFrom ? rowOf(edit.movedFrom) : -1; row >= 0) {
            rows_[static_cast<std::size_t>(row)] = edit.record;
            emit dataChanged(index(row, 0), index(row, last));
        }
        break;
    case TableEdit::Kind::Any:
        apply();
        return;
    }
    emit countsChanged();
}

} // namespace editor
