#include "editor/ChangesWindow.h"

#include "editor/LoadedTables.h"
#include "editor/RecordPage.h"
#include "gamedb/GameText.h"
#include "gamedb/RecordQuery.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"

#include <QAbstractTableModel>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSortFilterProxyModel>
#include <QTreeView>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <map>
#include <vector>

namespace editor {

using Kind = gamedb::RecordChange::Kind;

struct ChangeLine {
    int table;
    Kind kind;
    int loaded;
    int now;
    const gamedb::Field* field; // for a changed field
};

// The lines of every loaded table; the texts are read from the tables when shown.
class ChangesModel : public QAbstractTableModel {
public:
    explicit ChangesModel(LoadedTables& tables, QObject* parent) : QAbstractTableModel(parent), tables_(tables) {}

    void reload()
    {
        std::vector<ChangeLine> lines;
        for (int t = 0; t < LoadedTables::kTables; ++t) {
            captions_[static_cast<std::size_t>(t)].clear();
            if (!tables_.isLoaded(t))
                continue;
            for (const gamedb::RecordChange& c : tables_.changes(t)) {
                if (c.kind != Kind::Changed) {
                    lines.push_back({t, c.kind, c.loaded, c.now, nullptr});
                    continue;
                }
                for (const gamedb::Field* f : c.fields)
                    lines.push_back({t, c.kind, c.loaded, c.now, f});
            }
        }
        beginResetModel();
        lines_ = std::move(lines);
        endResetModel();
    }

    const ChangeLine& line(int row) const { return lines_[static_cast<std::size_t>(row)]; }
    int rowCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : static_cast<int>(lines_.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override
    {
        return parent.isValid() ? 0 : ChangesWindow::Columns;
    }

    QVariant headerData(int section, Qt::Orientation o, int role) const override
    {
        static const char* const kHeaders[] = {"Database", "Record", "ID", "Field", "Old Value", "New Value"};
        if (o != Qt::Horizontal || role != Qt::DisplayRole || section < 0 || section >= ChangesWindow::Columns)
            return {};
        return QString::fromLatin1(kHeaders[section]);
    }

    QVariant data(const QModelIndex& index, int role) const override
    {
        if (!index.isValid() || index.row() >= rowCount())
            return {};
        const ChangeLine& l = line(index.row());
        if (role == Qt::UserRole && index.column() == ChangesWindow::Id)
            return id(l);
        if (role != Qt::DisplayRole && role != Qt::UserRole && role != Qt::AccessibleTextRole)
            return {};
        switch (index.column()) {
        case ChangesWindow::Database:
            return tables_.name(l.table);
        case ChangesWindow::Record:
            return recordName(l);
        case ChangesWindow::Id:
            return QString::number(id(l));
        case ChangesWindow::Field:
            if (l.kind == Kind::Added)
                return QStringLiteral("(added record)");
            if (l.kind == Kind::Deleted)
                return QStringLiteral("(deleted record)");
            return caption(l);
        case ChangesWindow::Old:
            return l.field ? gamedb::shownValue(tables_.loaded(l.table), l.loaded, l.field) : QString();
        case ChangesWindow::New:
            return l.field ? gamedb::shownValue(tables_.page(l.table)->table(), l.now, l.field) : QString();
        default:
            return {};
        }
    }

    QString recordName(const ChangeLine& l) const
    {
        std::string name;
        const gamedb::RecordTable& t = table(l);
        t.appendListName(l.kind == Kind::Deleted ? l.loaded : l.now, name);
        return gamedb::fromGame(name);
    }

    long long id(const ChangeLine& l) const
    {
        const gamedb::RecordTable& t = table(l);
        return gamedb::readNumber(t.record(l.kind == Kind::Deleted ? l.loaded : l.now), gamedb::idFieldOf(t.format()));
    }

private:
    const gamedb::RecordTable& table(const ChangeLine& l) const
    {
        return l.kind == Kind::Deleted ? tables_.loaded(l.table) : tables_.page(l.table)->table();
    }

    // Asked of the page once per field and reload.
    const QString& caption(const ChangeLine& l) const
    {
        auto& known = captions_[static_cast<std::size_t>(l.table)];
        auto at = known.find(l.field);
        if (at == known.end())
            at = known.emplace(l.field, tables_.page(l.table)->fieldCaption(*l.field)).first;
        return at->second;
    }

    LoadedTables& tables_;
    std::vector<ChangeLine> lines_;
    mutable std::array<std::map<const gamedb::Field*, QString>, LoadedTables::kTables> captions_;
};

// By database (-1: all) and by record: a part of its name, letter case ignored, or its ID.
class ChangesFilter : public QSortFilterProxyModel {
public:
    ChangesFilter(ChangesModel* model, QObject* parent) : QSortFilterProxyModel(parent), model_(model)
    {
        setSourceModel(model);
        setSortRole(Qt::UserRole);
        setSortCaseSensitivity(Qt::CaseInsensitive);
        setSortLocaleAware(true);
    }

    void set(int table, const QString& record)
    {
        table_ = table;
        record_ = record.trimmed();
        invalidateFilter();
    }

protected:
    bool filterAcceptsRow(int row, const QModelIndex&) const override
    {
        const ChangeLine& l = model_->line(row);
        if (table_ >= 0 && l.table != table_)
            return false;
        if (record_.isEmpty())
            return true;
        return QString::number(model_->id(l)) == record_ ||
               model_->recordName(l).contains(record_, Qt::CaseInsensitive);
    }

private:
    ChangesModel* model_;
    int table_ = -1;
    QString record_;
};

ChangesWindow::ChangesWindow(LoadedTables& tables, Prompts& prompts, QWidget* parent)
    : QWidget(parent), tables_(tables), prompts_(prompts), model_(new ChangesModel(tables, this)),
      filter_(new ChangesFilter(model_, this))
{
    setObjectName(QStringLiteral("ChangesWindow"));
    setWindowTitle(QStringLiteral("Changes"));
    resize(sizeHint());

    ChDb = new QComboBox(this);
    ChDb->setObjectName(QStringLiteral("ChDb"));
    ChDb->addItem(QStringLiteral("All Databases"));
    for (int t = 0; t < LoadedTables::kTables; ++t)
        ChDb->addItem(tables_.name(t));
    auto* dbCaption = new QLabel(QStringLiteral("&Database:"), this);
    dbCaption->setBuddy(ChDb);
    ChRecord = new QLineEdit(this);
    ChRecord->setObjectName(QStringLiteral("ChRecord"));
    ChRecord->setPlaceholderText(QStringLiteral("Name or ID"));
    ChRecord->setClearButtonEnabled(true);
    auto* recordCaption = new QLabel(QStringLiteral("&Record:"), this);
    recordCaption->setBuddy(ChRecord);

    ChList = new QTreeView(this);
    ChList->setObjectName(QStringLiteral("ChList"));
    ChList->setAccessibleName(QStringLiteral("Changes"));
    ChList->setModel(filter_);
    ChList->setRootIsDecorated(false);
    ChList->setUniformRowHeights(true);
    ChList->setAllColumnsShowFocus(true);
    ChList->setSelectionMode(QAbstractItemView::ExtendedSelection);
    ChList->setSelectionBehavior(QAbstractItemView::SelectRows);
    ChList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    ChList->setSortingEnabled(true);
    ChList->sortByColumn(-1, Qt::AscendingOrder); // the tables' order until a header is clicked
    ChList->header()->setSectionsMovable(false);
    ChList->header()->setStretchLastSection(true);
    const int widths[] = {80, 160, 50, 150, 110};
    for (int c = 0; c < Columns - 1; ++c)
        ChList->setColumnWidth(c, widths[c]);

    ChCount = new QLabel(this);
    ChCount->setObjectName(QStringLiteral("ChCount"));
    ChRevert = new QPushButton(QStringLiteral("Re&vert"), this);
    ChRevert->setObjectName(QStringLiteral("ChRevert"));
    ChRevert->setToolTip(QStringLiteral("Put back the loaded values of the selected lines"));
    ChRevertAll = new QPushButton(QStringLiteral("Revert &All"), this);
    ChRevertAll->setObjectName(QStringLiteral("ChRevertAll"));
    ChRevertAll->setToolTip(QStringLiteral("Put the chosen databases back exactly as they were loaded"));
    ChClose = new QPushButton(QStringLiteral("&Close"), this);
    ChClose->setObjectName(QStringLiteral("ChClose"));

    auto* filters = new QHBoxLayout;
    filters->addWidget(dbCaption);
    filters->addWidget(ChDb);
    filters->addSpacing(12);
    filters->addWidget(recordCaption);
    filters->addWidget(ChRecord, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(ChCount, 1);
    buttons->addWidget(ChRevert);
    buttons->addWidget(ChRevertAll);
    buttons->addWidget(ChClose);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(filters);
    layout->addWidget(ChList, 1);
    layout->addLayout(buttons);

    setFocusProxy(ChList);

    connect(ChDb, &QComboBox::currentIndexChanged, this, &ChangesWindow::filterChanged);
    connect(ChRecord, &QLineEdit::textChanged, this, &ChangesWindow::filterChanged);
    connect(ChRevert, &QPushButton::clicked, this, &ChangesWindow::RevertClick);
    connect(ChRevertAll, &QPushButton::clicked, this, &ChangesWindow::RevertAllClick);
    connect(ChClose, &QPushButton::clicked, this, &QWidget::close);
    connect(ChList, &QAbstractItemView::activated, this, [this](const QModelIndex& index) {
        const ChangeLine& l = model_->line(filter_->mapToSource(index).row());
        if (l.now > 0)
            emit showRecord(l.table, l.now);
    });
    connect(ChList->selectionModel(), &QItemSelectionModel::selectionChanged, this, &ChangesWindow::updateButtons);
    connect(&tables_, &LoadedTables::changed, this, &ChangesWindow::refresh);
    refresh();
}

ChangesWindow::~ChangesWindow() = default;

QAbstractItemModel* ChangesWindow::lines() const
{
    return filter_;
}

void ChangesWindow::refresh()
{
    model_->reload();
    updateButtons();
}

void ChangesWindow::filterChanged()
{
    filter_->set(ChDb->currentIndex() - 1, ChRecord->text());
    updateButtons();
}

void ChangesWindow::updateButtons()
{
    ChCount->setText(QStringLiteral("%1 of %2 lines").arg(filter_->rowCount()).arg(model_->rowCount()));
    ChRevert->setEnabled(ChList->selectionModel()->hasSelection());
    ChRevertAll->setEnabled(!chosenTables().empty());
}

std::vector<int> ChangesWindow::chosenTables() const
{
    std::vector<int> out;
    for (int t = 0; t < LoadedTables::kTables; ++t) {
        if (tables_.isLoaded(t) && (ChDb->currentIndex() == 0 || ChDb->currentIndex() == t + 1))
            out.push_back(t);
    }
    return out;
}

void ChangesWindow::RevertClick()
{
    guarded(prompts_, this, [this] {
        std::array<std::vector<gamedb::RevertItem>, LoadedTables::kTables> items;
        for (const QModelIndex& index : ChList->selectionModel()->selectedRows()) {
            const ChangeLine& l = model_->line(filter_->mapToSource(index).row());
            items[static_cast<std::size_t>(l.table)].push_back({l.kind, l.loaded, l.now, l.field});
        }
        // Each revert changes its table, and the lines are read again after each.
        for (int t = 0; t < LoadedTables::kTables; ++t) {
            if (!items[static_cast<std::size_t>(t)].empty())
                tables_.revert(t, items[static_cast<std::size_t>(t)]);
        }
    });
}

void ChangesWindow::RevertAllClick()
{
    guarded(prompts_, this, [this] {
        const std::vector<int> shown = chosenTables();
        if (shown.empty())
            return;
        QStringList names;
        for (const int t : shown)
            names << tables_.name(t);
        const QString what = names.size() == 1 ? names[0]
                                               : names.mid(0, names.size() - 1).join(QStringLiteral(", ")) +
                                                     QStringLiteral(" and ") + names.last();
        if (prompts_.confirm(
                this, QStringLiteral("Put %1 back exactly as loaded? Every change not saved is lost.").arg(what)) !=
            Prompts::Answer::Yes)
            return;
        for (const int t : shown)
            tables_.revertAll(t);
    });
}

} // namespace editor
