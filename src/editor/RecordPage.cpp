#include "editor/RecordPage.h"

#include "editor/BusyCursor.h"
#include "editor/RecordListModel.h"
#include "gamedb/GameError.h"
#include "gamedb/GameText.h"
#include "gamedb/TextField.h"
#include "widgets/Guard.h"
#include "widgets/Prompts.h"
#include "widgets/WheelFocus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstring>
#include <utility>

namespace editor {

namespace {

// Tells a click on a new line (already handled as a change of the current line) from a click
// on the current line.
class PressWatch : public QObject {
public:
    PressWatch(QObject* parent, bool& flag) : QObject(parent), flag_(flag) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::MouseButtonPress || e->type() == QEvent::MouseButtonDblClick)
            flag_ = false;
        return false;
    }

private:
    bool& flag_;
};

// Scrolls a list to its current line when it is shown, for a scroll asked while it was hidden:
// scrolling lays out every row of the list, which a hidden list does not need.
class ScrollWhenShown : public QObject {
public:
    ScrollWhenShown(QListView* list, bool& pending) : QObject(list), list_(list), pending_(pending) {}

protected:
    bool eventFilter(QObject*, QEvent* e) override
    {
        if (e->type() == QEvent::Show && std::exchange(pending_, false))
            list_->scrollTo(list_->currentIndex());
        return false;
    }

private:
    QListView* list_;
    bool& pending_;
};

} // namespace

RecordPage::RecordPage(const PageNames& names, PageTraits traits, Prompts& prompts, QWidget* parent)
    : QWidget(parent), traits_(std::move(traits)), prompts_(prompts), table_(*traits_.format),
      idField_(gamedb::fieldNamed(traits_.format->schema, names.idLabel)), model_(new RecordListModel(this))
{
    auto named = [](QWidget* w, const char* name) {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    };

    subPages_ = new QTabWidget(this);
    named(subPages_, names.subPages);
    subPages_->setTabPosition(QTabWidget::South);
    for (std::size_t i = 0; i < names.pages.size(); ++i) {
        auto* page = new QWidget(subPages_);
        named(page, names.pages[i]);
        auto* layout = new QVBoxLayout(page);
        layout->setContentsMargins(6, 6, 6, 6);
        layout->setSpacing(3);
        subPages_->addTab(page, QStringLiteral("Page %1").arg(i + 1));
    }

    rec_ = new QLabel(this);
    named(rec_, names.recLabel);
    id_ = new QLabel(this);
    named(id_, names.idLabel);
    auto* recCaption = new QLabel(QStringLiteral("Record Number:"), this);
    recCaption->setBuddy(rec_);
    auto* idCaption = new QLabel(QStringLiteral("Unique ID:"), this);
    idCaption->setBuddy(id_);
    // The labels' accessible names are their values (showValue); the captions are their buddies.
    rec_->setMinimumWidth(40);
    auto* labels = new QHBoxLayout;
    labels->addWidget(recCaption);
    labels->addWidget(rec_);
    labels->addSpacing(12);
    labels->addWidget(idCaption);
    labels->addWidget(id_, 1);
    pageLayout(0)->addLayout(labels);

    list_ = new QListView(this);
    named(list_, names.list);
    list_->setModel(model_);
    list_->setUniformItemSizes(true);
    list_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list_->setSelectionMode(QAbstractItemView::SingleSelection);
    list_->setAccessibleName(QString::fromLatin1(names.list));
    list_->setFixedWidth(170);
    list_->viewport()->installEventFilter(new PressWatch(this, changedByPress_));
    list_->installEventFilter(new ScrollWhenShown(list_, scrollWhenShown_));
    connect(list_->selectionModel(), &QItemSelectionModel::currentChanged, this, [this](const QModelIndex& now) {
        if (programmatic_ || !now.isValid())
            return;
        changedByPress_ = true;
        listChosen();
    });
    connect(list_, &QListView::clicked, this, [this](const QModelIndex&) {
        if (!changedByPress_)
            listChosen();
        changedByPress_ = false;
    });

    auto button = [&](const char* name, const char* caption) {
        auto* b = new QPushButton(QString::fromLatin1(caption), this);
        named(b, name);
        return b;
    };
    new_ = button(names.newButton, names.newCaption);
    del_ = button(names.delButton, names.delCaption);
    src_ = button(names.srcButton, names.srcCaption);
    res_ = button(names.resButton, names.resCaption);

    auto* right = new QGridLayout;
    right->setSpacing(3);
    right->addWidget(list_, 0, 0, 1, 2);
    right->addWidget(new_, 1, 0);
    right->addWidget(del_, 1, 1);
    right->addWidget(src_, 2, 0);
    right->addWidget(res_, 2, 1);

    auto* outer = new QHBoxLayout(this);
    outer->setContentsMargins(4, 4, 4, 4);
    outer->setSpacing(4);
    outer->addWidget(subPages_, 1);
    outer->addLayout(right);
}

RecordPage::~RecordPage() = default;

QVBoxLayout* RecordPage::pageLayout(int i) const
{
    return static_cast<QVBoxLayout*>(subPages_->widget(i)->layout());
}

// --- fields ---------------------------------------------------------------------------------

const gamedb::Field* RecordPage::schemaField(const QWidget* w) const
{
    return &gamedb::fieldNamed(traits_.format->schema, w->objectName().toStdString());
}

void RecordPage::bindBox(QWidget* box, FieldEditing editing)
{
    const gamedb::Field* field = schemaField(box);
    editings_.push_back({field, box, editing});
    bindings_.push_back(prepareBox(editing, box, field));
}

void RecordPage::bindText(QLineEdit* box)
{
    bindBox(box, {FieldEditing::Box::Text});
}

void RecordPage::bindNumber(QLineEdit* box, WhenEmpty empty)
{
    bindBox(box, {FieldEditing::Box::Number, empty});
}

void RecordPage::bindCode(QComboBox* box)
{
    bindBox(box, {FieldEditing::Box::Code});
}

void RecordPage::bindFlag(QCheckBox* box)
{
    bindBox(box, {FieldEditing::Box::Flag});
}

void RecordPage::bindTriState(QCheckBox* box)
{
    bindBox(box, {FieldEditing::Box::TriState});
}

const FieldEditing* RecordPage::editingOf(const gamedb::Field& field) const
{
    for (const EditedField& e : editings_) {
        if (e.field == &field)
            return &e.editing;
    }
    return nullptr;
}

void RecordPage::bindSlots(QComboBox* selector, QWidget* box, std::initializer_list<const char*> slotFields,
                           const QStringList& captions)
{
    wheelOnlyWithFocus(selector); // a stray wheel would switch the slot the box edits
    std::vector<const gamedb::Field*> fields;
    for (const char* name : slotFields)
        fields.push_back(&gamedb::fieldNamed(traits_.format->schema, name));
    FieldEditing editing{FieldEditing::Box::Code};
    if (qobject_cast<QLineEdit*>(box))
        editing.box =
            fields.front()->encoding == gamedb::Encoding::Text ? FieldEditing::Box::Text : FieldEditing::Box::Number;
    else if (!qobject_cast<QComboBox*>(box))
        throw std::logic_error("no slot box kind for " + box->objectName().toStdString());
    // Every slot is edited as the one box edits it.
    for (const gamedb::Field* f : fields)
        editings_.push_back({f, box, editing});
    std::unique_ptr<FieldBinding> inner = prepareBox(editing, box, fields.front());
    bindings_.push_back(std::make_unique<SlotBinding>(selector, std::move(inner), std::move(fields), captions));
}

bool RecordPage::runSlotSwitch(QComboBox* selector)
{
    SlotBinding* binding = nullptr;
    for (const auto& b : bindings_) {
        if (b->widget() == selector)
            binding = static_cast<SlotBinding*>(b.get());
    }
    if (!binding)
        return false;
    if (shownRecord() == 0) {
        binding->restoreSelector(); // nothing shown: there is no slot to fill
        return false;
    }
    const bool ok =
        guarded(prompts_, this, [&] { writeRecord(shownRecord(), [&](std::uint8_t* r) { binding->switchSlot(r); }); });
    if (!ok)
        binding->restoreSelector();
    return ok;
}

void RecordPage::installKeyRules(std::span<const KeyRow> rows)
{
    for (const KeyRow& row : rows) {
        auto* box = findChild<QLineEdit*>(QString::fromLatin1(row.control));
        if (!box)
            throw std::logic_error(std::string("no box ") + row.control);
        installBoxRule(box, row.rule, row.date, [this] { setModified(); });
        // Kept for every field the box edits, so that other editors of the field take the same keys.
        for (EditedField& e : editings_) {
            if (e.box == box) {
                e.editing.hasRule = true;
                e.editing.rule = row.rule;
                e.editing.date = row.date;
            }
        }
    }
}

bool RecordPage::writeRecord(int number, const std::function<void(std::uint8_t*)>& write)
{
    // Into a copy first: a value that cannot be stored leaves the record as it was.
    const std::size_t size = table_.format().recordSize;
    std::vector<std::uint8_t> copy(table_.record(number), table_.record(number) + size);
    write(copy.data());
    if (std::memcmp(table_.record(number), copy.data(), size) == 0)
        return false;
    std::memcpy(table_.record(number), copy.data(), size);
    emit tableEdited({TableEdit::Kind::Stored, number});
    return true;
}

bool RecordPage::editRecord(int number, const std::function<void(std::uint8_t*)>& write)
{
    return guarded(prompts_, this, [&] {
        finishFill();
        // As a list click stores the page, so nothing typed there is lost or written over.
        const bool shown = shownRecord() == number;
        if (shown)
            storeShownRecord();
        if (writeRecord(number, write))
            setModified();
        if (shown)
            showRecord(number);
    });
}

int RecordPage::shownRecord() const
{
    return rec_->text().isEmpty() ? 0 : rec_->text().toInt();
}

void RecordPage::storeShownRecord()
{
    if (shownRecord() == 0)
        return;
    writeRecord(shownRecord(), [this](std::uint8_t* r) {
        storeNumberText(r, idField_, id_->text(), idShown_);
        for (const auto& b : bindings_)
            b->store(r);
    });
}

void RecordPage::showRecord(int number)
{
    const std::uint8_t* r = table_.record(number);
    showValue(rec_, QString::number(number));
    idShown_ = QString::number(gamedb::readNumber(r, idField_));
    showValue(id_, idShown_);
    for (const auto& b : bindings_)
        b->show(r);
}

void RecordPage::clearFields()
{
    for (const auto& b : bindings_)
        b->clear(traits_.newNumberText);
}

// --- the list -------------------------------------------------------------------------------

void RecordPage::clearList()
{
    pending_.clear();
    filling_ = true;
    showValue(rec_, QString());
}

void RecordPage::addLine(const gamedb::RecordTable& table, int number)
{
    if (pending_.empty())
        pending_.reserve(static_cast<std::size_t>(table.count()));
    pending_.add(table, number);
}

void RecordPage::finishFill()
{
    if (!filling_)
        return;
    filling_ = false;
    showList(std::move(pending_));
    pending_ = {};
}

void RecordPage::showList(gamedb::ListLines lines)
{
    programmatic_ = true;
    model_->setLines(std::move(lines));
    programmatic_ = false;
    makeLineCurrent(0, false);
}

void RecordPage::makeLineCurrent(int row, bool highlighted)
{
    programmatic_ = true;
    QItemSelectionModel* sel = list_->selectionModel();
    sel->clearSelection();
    if (row >= 0 && row < model_->rowCount()) {
        const QModelIndex line = model_->index(row);
        sel->setCurrentIndex(line, highlighted ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
        if (list_->isVisible())
            list_->scrollTo(line);
        else
            scrollWhenShown_ = true; // a load fills pages that are not shown
    }
    programmatic_ = false;
}

int RecordPage::currentRecord() const
{
    const QModelIndex current = list_->currentIndex();
    return model_->recordAt(current.isValid() ? current.row() : 0);
}

void RecordPage::rebuildList()
{
    gamedb::ListLines lines;
    lines.reserve(static_cast<std::size_t>(table_.count()));
    for (int i = 1; i <= table_.count(); ++i)
        lines.add(table_, i);
    showList(std::move(lines));
}

// --- the operations -------------------------------------------------------------------------

void RecordPage::storeAndShow()
{
    finishFill();
    const int show = currentRecord();
    storeShownRecord();
    // A line can name a record beyond the count only during a Delete of the last record.
    if (show >= 1 && show <= table_.count())
        showRecord(show);
}

void RecordPage::showPages()
{
    finishFill();
    if (onShowPages)
        onShowPages(this);
}

void RecordPage::newRecord()
{
    // Nothing typed is dropped: the page goes into the record it shows first, and a value that
    // cannot be stored stops New here with its message.
    if (traits_.newStoresAndShows)
        storeAndShow();
    else
        storeShownRecord();
    if (table_.full()) {
        prompts_.notice(this, traits_.limitMessage);
        return;
    }
    BusyCursor busy;
    const long long id = table_.smallestFreeValue(idField_);
    const int n = table_.append(); // all zero bytes: the new record starts clean
    gamedb::writeNumber(table_.record(n), idField_, id);
    emit tableEdited({TableEdit::Kind::Added, n});
    idShown_ = QString::number(id);
    showValue(id_, idShown_);
    // The new line is the current one, not highlighted: the next store-and-show step (a click,
    // Reset, the player page's own step below) comes back to the new record, not to whichever
    // record now stands on the old current row.
    programmatic_ = true;
    const int row = model_->insertLine(" , ", n);
    programmatic_ = false;
    makeLineCurrent(row, false);
    if (traits_.newStoresAndShows) {
        showValue(rec_, QString());
        storeAndShow();
    } else {
        showValue(rec_, QString::number(n));
        clearFields();
    }
}

void RecordPage::deleteRecord()
{
    // The record the page shows goes, not a current line the user may not see highlighted.
    const int r = shownRecord() != 0 ? shownRecord() : currentRecord();
    if (r < 1 || r > table_.count())
        return;
    showValue(rec_, QString()); // the page's contents are dropped
    const int last = table_.count();
    table_.remove(r);
    // The table changed: whatever fails below, closing must still ask.
    setModified();
    emit tableEdited({TableEdit::Kind::Removed, r, r != last ? last : 0});
    reset();
    makeLineCurrent(0, true);
    storeAndShow();
}

void RecordPage::reset()
{
    BusyCursor busy;
    storeAndShow();
    rebuildList();
}

void RecordPage::search()
{
    const auto text = prompts_.askText(this, QStringLiteral("Search"), QStringLiteral("Text to search for"));
    if (!text)
        return;
    BusyCursor busy;
    gamedb::ListLines lines;
    auto needle = gamedb::toGame(*text);
    if (needle && !needle->empty() && traits_.searchKey) {
        gamedb::foldAscii(*needle);
        std::string key; // one buffer for every record: 20000 keys, no allocation each
        for (int i = 1; i <= table_.count(); ++i) {
            key.clear();
            traits_.searchKey(table_.record(i), key);
            gamedb::foldAscii(key);
            if (key.find(*needle) != std::string::npos)
                lines.add(table_, i);
        }
    }
    showList(std::move(lines));
}

bool RecordPage::storeShown()
{
    return guarded(prompts_, this, [this] {
        finishFill();
        storeShownRecord();
    });
}

bool RecordPage::storeShownQuietly()
{
    try {
        finishFill();
        storeShownRecord();
        return true;
    } catch (const gamedb::GameError&) {
        return false;
    }
}

void RecordPage::tableChanged()
{
    setModified();
    showChangedTable(0);
}

void RecordPage::showChangedTable(int number)
{
    guarded(prompts_, this, [this, number] {
        finishFill();
        showValue(rec_, QString()); // the table changed under the page: nothing shown is stored back
        rebuildList();
        const int row = number >= 1 && number <= table_.count() ? model_->rowOf(number) : 0;
        makeLineCurrent(std::max(row, 0), true);
        storeAndShow();
    });
    emit tableEdited();
}

bool RecordPage::goToRecord(int number)
{
    return guarded(prompts_, this, [this, number] {
        finishFill();
        storeShownRecord();
        if (number < 1 || number > table_.count())
            return;
        int row = model_->rowOf(number);
        if (row < 0) {
            rebuildList();
            row = model_->rowOf(number);
        }
        makeLineCurrent(row, true);
        showRecord(number);
    });
}

void RecordPage::setLoaded()
{
    loaded_ = true;
    emit tableEdited();
}

QString RecordPage::fieldCaption(const gamedb::Field& field) const
{
    auto plain = [](QString text) {
        text.remove(QLatin1Char('&'));
        text = text.trimmed();
        if (text.endsWith(QLatin1Char(':')))
            text.chop(1);
        return text;
    };
    const QWidget* box = &field == &idField_ ? id_ : nullptr;
    for (const auto& b : bindings_) {
        if (const auto* slotted = dynamic_cast<const SlotBinding*>(b.get())) {
            const int slot = slotted->slotOf(field);
            if (slot >= 0)
                return plain(slotted->caption(slot));
        } else if (&b->field() == &field) {
            box = b->widget();
        }
    }
    if (!box)
        return QString::fromUtf8(field.column.data(), static_cast<qsizetype>(field.column.size()));
    for (const QLabel* label : findChildren<QLabel*>()) {
        if (label->buddy() == box)
            return plain(label->text());
    }
    if (const auto* check = qobject_cast<const QCheckBox*>(box))
        return plain(check->text());
    return plain(box->accessibleName());
}

bool RecordPage::runStep()
{
    return guarded(prompts_, this, [this] { storeAndShow(); });
}

bool RecordPage::runNew()
{
    return guarded(prompts_, this, [this] { newRecord(); });
}

bool RecordPage::runDelete()
{
    return guarded(prompts_, this, [this] { deleteRecord(); });
}

bool RecordPage::runReset()
{
    return guarded(prompts_, this, [this] { reset(); });
}

bool RecordPage::runSearch()
{
    return guarded(prompts_, this, [this] { search(); });
}

} // namespace editor
