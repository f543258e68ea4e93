#include "editor/RecordPage.h"

#include "widgets/Guard.h"
#include "widgets/Prompts.h"
#include "editor/BusyCursor.h"
#include "editor/RecordListModel.h"
#include "gamedb/GameError.h"
#include "gamedb/GameText.h"

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

namespace editor {

struct RecordPage::Binding {
    enum class Kind { Text, Number, Code, Flag };
    Kind kind;
    const gamedb::Field* field;
    QWidget* widget;
    CodeTable codes;
};

namespace {

QString number(long long v)
{
    return QString::number(v);
}

// An empty box is 0; anything else must be a decimal 32-bit integer. Whether it fits the field
// is writeNumber's judgement.
long long parseNumber(const QString& text)
{
    if (text.isEmpty())
        return 0;
    bool ok = false;
    const int v = text.toInt(&ok, 10);
    if (!ok)
        throw gamedb::GameError("'" + text.toStdString() + "' is not a valid integer value");
    return v;
}

std::string gameBytes(const QString& text)
{
    auto bytes = gamedb::toGame(text);
    if (!bytes)
        throw gamedb::GameError("'" + text.toStdString() + "' holds characters the game cannot store");
    return *bytes;
}

// Only A to Z fold; every other byte must match as it is.
void foldAscii(std::string& s)
{
    for (char& c : s) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
}

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
    rec_->setAccessibleName(QStringLiteral("Record Number:"));
    id_->setAccessibleName(QStringLiteral("Unique ID:"));
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

void RecordPage::bindText(QLineEdit* box)
{
    bindings_.push_back(
        {Binding::Kind::Text, &gamedb::fieldNamed(traits_.format->schema, box->objectName().toStdString()), box, {}});
}

void RecordPage::bindNumber(QLineEdit* box)
{
    bindings_.push_back(
        {Binding::Kind::Number, &gamedb::fieldNamed(traits_.format->schema, box->objectName().toStdString()), box, {}});
}

void RecordPage::bindCode(QComboBox* box, CodeTable codes)
{
    box->addItems(codeTexts(codes));
    box->setCurrentIndex(-1);
    bindings_.push_back({Binding::Kind::Code,
                         &gamedb::fieldNamed(traits_.format->schema, box->objectName().toStdString()), box, codes});
}

void RecordPage::bindFlag(QCheckBox* box)
{
    bindings_.push_back(
        {Binding::Kind::Flag, &gamedb::fieldNamed(traits_.format->schema, box->objectName().toStdString()), box, {}});
}

void RecordPage::installKeyRules(std::span<const KeyRow> rows)
{
    for (const KeyRow& row : rows) {
        auto* box = findChild<QLineEdit*>(QString::fromLatin1(row.control));
        if (!box)
            throw std::logic_error(std::string("no box ") + row.control);
        if (row.date)
            installDateRule(box, [this] { setModified(); });
        else
            installKeyRule(box, row.rule, [this] { setModified(); });
        restrictToGameText(box);
        // Paste, cut and the Delete key change the text without a character key.
        connect(box, &QLineEdit::textEdited, this, [this] { setModified(); });
    }
}

void RecordPage::storeInto(int number)
{
    // Into a copy first: a field that cannot be stored leaves the record as it was.
    const std::size_t size = table_.format().recordSize;
    std::vector<std::uint8_t> copy(table_.record(number), table_.record(number) + size);
    std::uint8_t* r = copy.data();
    gamedb::writeNumber(r, idField_, parseNumber(id_->text()));
    for (const Binding& b : bindings_) {
        switch (b.kind) {
        case Binding::Kind::Text:
            gamedb::writeText(r, *b.field, gameBytes(static_cast<QLineEdit*>(b.widget)->text()));
            break;
        case Binding::Kind::Number:
            gamedb::writeNumber(r, *b.field, parseNumber(static_cast<QLineEdit*>(b.widget)->text()));
            break;
        case Binding::Kind::Code:
            storeCode(b.codes, static_cast<QComboBox*>(b.widget)->currentIndex(), r, *b.field);
            break;
        case Binding::Kind::Flag:
            gamedb::writeNumber(r, *b.field, static_cast<QCheckBox*>(b.widget)->isChecked() ? 1 : 0);
            break;
        }
    }
    std::memcpy(table_.record(number), r, size);
}

void RecordPage::showRecord(int number)
{
    const std::uint8_t* r = table_.record(number);
    rec_->setText(QString::number(number));
    id_->setText(QString::number(gamedb::readNumber(r, idField_)));
    for (const Binding& b : bindings_) {
        switch (b.kind) {
        case Binding::Kind::Text:
            static_cast<QLineEdit*>(b.widget)->setText(gamedb::fromGame(gamedb::readText(r, *b.field)));
            break;
        case Binding::Kind::Number:
            static_cast<QLineEdit*>(b.widget)->setText(QString::number(gamedb::readNumber(r, *b.field)));
            break;
        case Binding::Kind::Code: {
            auto* box = static_cast<QComboBox*>(b.widget);
            box->setCurrentIndex(-1);
            box->setCurrentIndex(matchCode(b.codes, r, *b.field));
            break;
        }
        case Binding::Kind::Flag:
            static_cast<QCheckBox*>(b.widget)->setChecked(gamedb::readNumber(r, *b.field) == 1);
            break;
        }
    }
}

void RecordPage::clearFields()
{
    for (const Binding& b : bindings_) {
        switch (b.kind) {
        case Binding::Kind::Text:
            static_cast<QLineEdit*>(b.widget)->clear();
            break;
        case Binding::Kind::Number:
            static_cast<QLineEdit*>(b.widget)->setText(traits_.newNumberText);
            break;
        case Binding::Kind::Code:
            static_cast<QComboBox*>(b.widget)->setCurrentIndex(-1);
            break;
        case Binding::Kind::Flag:
            static_cast<QCheckBox*>(b.widget)->setChecked(false);
            break;
        }
    }
}

// --- the list -------------------------------------------------------------------------------

void RecordPage::clearList()
{
    pending_.clear();
    filling_ = true;
    rec_->clear();
}

void RecordPage::addLine(const gamedb::RecordTable& table, int number)
{
    pending_.push_back(gamedb::listLineOf(table, number));
}

void RecordPage::finishFill()
{
    if (!filling_)
        return;
    filling_ = false;
    showList(std::move(pending_));
    pending_.clear();
}

void RecordPage::showList(std::vector<gamedb::ListLine> lines)
{
    programmatic_ = true;
    model_->setLines(std::move(lines));
    programmatic_ = false;
    makeFirstLineCurrent(false);
}

void RecordPage::makeFirstLineCurrent(bool highlighted)
{
    programmatic_ = true;
    QItemSelectionModel* sel = list_->selectionModel();
    sel->clearSelection();
    if (model_->rowCount() > 0) {
        const QModelIndex first = model_->index(0);
        sel->setCurrentIndex(first, highlighted ? QItemSelectionModel::ClearAndSelect : QItemSelectionModel::NoUpdate);
        list_->scrollTo(first);
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
    std::vector<gamedb::ListLine> lines;
    lines.reserve(static_cast<std::size_t>(table_.count()));
    for (int i = 1; i <= table_.count(); ++i)
        lines.push_back(gamedb::listLineOf(table_, i));
    showList(std::move(lines));
}

// --- the operations -------------------------------------------------------------------------

void RecordPage::storeAndShow()
{
    finishFill();
    const int show = currentRecord();
    if (!rec_->text().isEmpty())
        storeInto(rec_->text().toInt());
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
    if (traits_.newStoresFirst)
        storeAndShow();
    if (table_.full()) {
        prompts_.notice(this, traits_.limitMessage);
        return;
    }
    BusyCursor busy;
    const long long id = table_.smallestFreeValue(idField_);
    const int n = table_.append(); // all zero bytes: the new record starts clean
    gamedb::writeNumber(table_.record(n), idField_, id);
    id_->setText(number(id));
    programmatic_ = true;
    model_->insertLine({QStringLiteral(" , "), n});
    programmatic_ = false;
    if (traits_.newStoresFirst) {
        rec_->clear();
        storeAndShow();
    } else {
        rec_->setText(number(n));
        clearFields();
    }
}

void RecordPage::deleteRecord()
{
    if (model_->rowCount() == 0)
        return;
    const int r = currentRecord();
    if (r < 1 || r > table_.count())
        return;
    rec_->clear(); // the page's contents are dropped
    table_.remove(r);
    reset();
    makeFirstLineCurrent(true);
    storeAndShow();
    setModified();
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
    std::vector<gamedb::ListLine> lines;
    auto needle = gamedb::toGame(*text);
    if (needle && !needle->empty() && traits_.searchKey) {
        foldAscii(*needle);
        for (int i = 1; i <= table_.count(); ++i) {
            std::string key = traits_.searchKey(table_.record(i));
            foldAscii(key);
            if (key.find(*needle) != std::string::npos)
                lines.push_back(gamedb::listLineOf(table_, i));
        }
    }
    showList(std::move(lines));
}

bool RecordPage::storeShown()
{
    return guarded(prompts_, this, [this] {
        finishFill();
        if (!rec_->text().isEmpty())
            storeInto(rec_->text().toInt());
    });
}

void RecordPage::tableChanged()
{
    setModified();
    guarded(prompts_, this, [this] {
        rec_->clear(); // the table changed under the page: nothing shown is stored back
        rebuildList();
        makeFirstLineCurrent(true);
        storeAndShow();
    });
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
