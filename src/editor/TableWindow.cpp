#include "editor/TableWindow.h"

#include "editor/BusyCursor.h"
#include "editor/CsvMenu.h"
#include "editor/FilterHeader.h"
#include "editor/RecordPage.h"
#include "editor/RecordTableModel.h"
#include "gamedb/Csv.h"
#include "gamedb/CsvFile.h"
#include "gamedb/GameError.h"
#include "widgets/AppConfig.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"

#include <QAction>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QLocale>
#include <QScrollBar>
#include <QStyledItemDelegate>
#include <QTableView>
#include <QVBoxLayout>

#include <algorithm>

namespace editor {
namespace {

// The binding that showed the record in a cell's editor and stores the editor's value.
class EditorBinding : public QObject {
public:
    EditorBinding(QWidget* editor, std::unique_ptr<FieldBinding> binding) : QObject(editor), binding(std::move(binding))
    {
    }
    std::unique_ptr<FieldBinding> binding;
};

// A cell's editor is the page's box for its field, made by the page's own rule: the same key rule,
// the same drop-down, the same store with its range check and message.
class CellDelegate : public QStyledItemDelegate {
public:
    CellDelegate(RecordTableModel& model, QObject* parent) : QStyledItemDelegate(parent), model_(model) {}

    // Set while an edit starts by a typed key: as in a spreadsheet, the key replaces the value.
    bool startedByKey = false;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        const gamedb::Field* f = model_.fieldOf(index.column());
        RecordPage* page = model_.page();
        const FieldEditing* editing = f && page ? page->editingOf(*f) : nullptr;
        if (!editing || editing->box == FieldEditing::Box::Flag || editing->box == FieldEditing::Box::TriState)
            return nullptr;
        QWidget* box = nullptr;
        if (editing->box == FieldEditing::Box::Code) {
            auto* combo = new QComboBox(parent);
            // Choosing an entry is the edit, as on the page.
            connect(combo, &QComboBox::activated, this, [this, combo] {
                auto* self = const_cast<CellDelegate*>(this);
                emit self->commitData(combo);
                emit self->closeEditor(combo);
            });
            box = combo;
        } else {
            box = new QLineEdit(parent);
        }
        box->setAccessibleName(model_.headerData(index.column(), Qt::Horizontal).toString());
        auto binding = prepareBox(*editing, box, f);
        binding->show(page->table().record(model_.recordAt(index.row())));
        if (auto* line = qobject_cast<QLineEdit*>(box); line && startedByKey)
            line->clear();
        new EditorBinding(box, std::move(binding));
        return box;
    }

    // The binding showed the record when the editor was made.
    void setEditorData(QWidget*, const QModelIndex&) const override {}

    void setModelData(QWidget* editor, QAbstractItemModel*, const QModelIndex& index) const override
    {
        // A refused value's message takes the focus from the editor, which would commit again.
        if (committing_)
            return;
        EditorBinding* holder = nullptr;
        for (QObject* child : editor->children()) {
            if (auto* h = dynamic_cast<EditorBinding*>(child))
                holder = h;
        }
        if (!holder)
            return;
        committing_ = true;
        model_.write(index.row(), [&](std::uint8_t* r) { holder->binding->store(r); });
        committing_ = false;
    }

private:
    RecordTableModel& model_;
    mutable bool committing_ = false;
};

class CellView : public QTableView {
public:
    CellView(CellDelegate* delegate, QWidget* parent) : QTableView(parent), delegate_(delegate) {}
    using QTableView::edit;

protected:
    bool edit(const QModelIndex& index, EditTrigger trigger, QEvent* event) override
    {
        delegate_->startedByKey = trigger == AnyKeyPressed;
        const bool started = QTableView::edit(index, trigger, event);
        delegate_->startedByKey = false;
        return started;
    }

private:
    CellDelegate* delegate_;
};

QAction* action(QWidget* parent, const char* name, const QString& text, const QList<QKeySequence>& keys = {})
{
    auto* a = new QAction(text, parent);
    a->setObjectName(QString::fromLatin1(name));
    a->setShortcuts(keys);
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    parent->addAction(a);
    return a;
}

} // namespace

TableWindow::TableWindow(RecordPage& page, ToolContext ctx, const QString& title, QWidget* parent)
    : QWidget(parent), page_(page), ctx_(ctx), model_(new RecordTableModel(page, this))
{
    setObjectName(QStringLiteral("TableWindow"));
    setWindowTitle(title + QStringLiteral(" \u2014 Table"));

    auto* delegate = new CellDelegate(*model_, this);
    auto* view = new CellView(delegate, this);
    TableView = view;
    TableView->setObjectName(QStringLiteral("TableView"));
    TableView->setAccessibleName(title);
    TableHeader = new FilterHeader(TableView);
    TableHeader->setObjectName(QStringLiteral("TableHeader"));
    TableView->setHorizontalHeader(TableHeader);
    TableView->setModel(model_);
    TableView->setItemDelegate(delegate);
    TableView->verticalHeader()->hide();
    TableView->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    TableView->verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    TableView->setEditTriggers(QAbstractItemView::DoubleClicked | QAbstractItemView::EditKeyPressed |
                               QAbstractItemView::AnyKeyPressed);
    TableView->setSelectionMode(QAbstractItemView::SingleSelection);
    TableView->setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    TableView->setWordWrap(false);
    // Record order until a header is clicked: ascending, then descending.
    TableHeader->setSortIndicator(-1, Qt::AscendingOrder);
    TableView->setSortingEnabled(true);
    TableHeader->makeBoxes(this);
    connect(TableHeader, &FilterHeader::filterEdited, this, &TableWindow::filterEdited);
    connect(TableView->horizontalScrollBar(), &QScrollBar::valueChanged, TableHeader, &FilterHeader::placeBoxes);

    TableCount = new QLabel(this);
    TableCount->setObjectName(QStringLiteral("TableCount"));
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(3);
    layout->addWidget(TableView, 1);
    layout->addWidget(TableCount);

    ShowOnPage = action(TableView, "ShowOnPage", QStringLiteral("Show on the Page"),
                        {QKeySequence(Qt::CTRL | Qt::Key_Return), QKeySequence(Qt::CTRL | Qt::Key_Enter)});
    ExportRows = action(TableView, "ExportRows", QStringLiteral("Export These Rows to CSV\u2026"));
    // The filter boxes from the keyboard: Ctrl+F to the current column's box, Return back.
    QAction* filterColumn =
        action(TableView, "FilterColumn", QStringLiteral("Filter This Column"), {QKeySequence(Qt::CTRL | Qt::Key_F)});
    connect(filterColumn, &QAction::triggered, this, [this] {
        const QModelIndex current = TableView->currentIndex();
        filterBox(current.isValid() ? current.column() : 0)->setFocus();
    });
    connect(TableHeader, &FilterHeader::leftBox, this, [this](int column) {
        const QModelIndex current = TableView->currentIndex();
        TableView->setCurrentIndex(model_->index(current.isValid() ? current.row() : 0, column));
        TableView->setFocus();
    });
    QAction* again = action(this, "FilterAgain", QStringLiteral("Filter and Sort Again"), {QKeySequence(Qt::Key_F5)});
    TableView->addAction(again);
    TableView->setContextMenuPolicy(Qt::ActionsContextMenu);
    connect(ShowOnPage, &QAction::triggered, this, &TableWindow::showOnPageClick);
    connect(ExportRows, &QAction::triggered, this, &TableWindow::exportRowsClick);
    connect(again, &QAction::triggered, this, &TableWindow::refresh);
    connect(TableView, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.column() == 0) // the record number: not edited, it goes to the record
            showOnPageClick();
    });

    connect(model_, &RecordTableModel::countsChanged, this, &TableWindow::showCounts);
    showCounts();
    sizeColumns();
    resize(sizeHint());
}

QLineEdit* TableWindow::filterBox(int column) const
{
    return TableHeader->box(column);
}

void TableWindow::refresh()
{
    guarded(ctx_.prompts, this, [this] { model_->apply(); });
}

void TableWindow::filterEdited(int column, const QString& text)
{
    guarded(ctx_.prompts, this, [&] {
        try {
            model_->setFilter(column, text);
            TableHeader->markReadable(column);
        } catch (const gamedb::GameError& e) {
            TableHeader->markUnreadable(column, QString::fromUtf8(e.what()));
        }
        model_->apply();
    });
}

void TableWindow::showCounts()
{
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    const auto noun = page_.table().format().recordNoun;
    const QString text = QStringLiteral("%1 of %2 %3")
                             .arg(english.toString(model_->rowCount()), english.toString(page_.table().count()),
                                  QString::fromUtf8(noun.data(), static_cast<qsizetype>(noun.size())));
    showValue(TableCount, text);
}

void TableWindow::showOnPageClick()
{
    const QModelIndex current = TableView->currentIndex();
    const int record = model_->recordAt(current.isValid() ? current.row() : -1);
    if (record == 0)
        return;
    // An open cell editor gives its value to the table first.
    TableView->setFocus();
    emit showRecord(record);
}

void TableWindow::exportRowsClick()
{
    guarded(ctx_.prompts, this, [this] {
        // What the page shows but has not stored yet belongs in the file.
        if (!page_.storeShown())
            return;
        const auto noun = page_.table().format().recordNoun;
        const QString suggested = QString::fromUtf8(noun.data(), static_cast<qsizetype>(noun.size())) + ".csv";
        const auto path =
            ctx_.prompts.askSaveFile(this, QStringLiteral("Export These Rows to CSV"), suggested, csvFileFilter());
        if (!path)
            return;
        BusyCursor busy;
        gamedb::writeCsvFile(ctx_.config.gameFolder(), *path, gamedb::exportCsv(page_.table(), model_->rows()));
    });
}

void TableWindow::sizeColumns()
{
    const QFontMetrics fm = TableView->fontMetrics();
    const QFontMetrics header = TableHeader->fontMetrics();
    for (int c = 0; c < model_->columnCount(); ++c) {
        const gamedb::Field* f = model_->fieldOf(c);
        int value = fm.horizontalAdvance(QLatin1Char('0')) * 6;
        switch (gamedb::valueKind(f)) {
        case gamedb::ValueKind::Text:
            value = fm.averageCharWidth() * std::min<int>(f->width, 22);
            break;
        case gamedb::ValueKind::Code:
            value = fm.averageCharWidth() * 18;
            break;
        case gamedb::ValueKind::Date:
            value = fm.horizontalAdvance(QStringLiteral("00.00.00")) + 8;
            break;
        default:
            break;
        }
        const int caption = header.horizontalAdvance(model_->headerData(c, Qt::Horizontal).toString()) + 24;
        TableHeader->resizeSection(c, std::min(std::max(value, caption), 240));
    }
}

QAction* attachBrowseAction(RecordPage* page)
{
    auto* a = new QAction(QStringLiteral("Browse in a Table\u2026"), page);
    a->setObjectName(QStringLiteral("BrowseTable"));
    a->setShortcut(QKeySequence(Qt::CTRL | Qt::Key_B));
    a->setShortcutContext(Qt::WidgetWithChildrenShortcut);
    page->listView()->addAction(a); // the list's context menu
    page->addAction(a);             // Ctrl+B anywhere on the page
    return a;
}

} // namespace editor
