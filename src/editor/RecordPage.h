#pragma once
// The one mechanism behind every record page: the sorted list and its current line, the
// record-number and ID labels, the store-and-show step, New, Delete, Reset and Search. A page
// supplies its fields (bound to its schema by control name), its key rules, its messages, its
// search key and the few ordering differences in a PageTraits.

#include "editor/FieldBinding.h"
#include "gamedb/CodeTables.h"
#include "gamedb/ListOrder.h"
#include "gamedb/PageHooks.h"
#include "gamedb/RecordTable.h"
#include "widgets/KeyFilter.h"

#include <QString>
#include <QStringList>
#include <QWidget>

#include <functional>
#include <initializer_list>
#include <memory>
#include <span>
#include <string>
#include <vector>

class Prompts;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QTabWidget;
class QVBoxLayout;

namespace editor {

class RecordListModel;

// The names and captions of a page's shared controls.
struct PageNames {
    const char* list;               // "ManList"
    const char* subPages;           // "ManPa"
    std::vector<const char*> pages; // "Man1", "Man2"
    const char* recLabel;           // "MaRec"
    const char* idLabel;            // "MaID", also the ID field of the schema
    const char* newButton;
    const char* newCaption;
    const char* delButton;
    const char* delCaption;
    const char* srcButton;
    const char* srcCaption;
    const char* resButton;
    const char* resCaption;
};

// What differs between the pages' operations.
struct PageTraits {
    const gamedb::DbFormat* format;
    QString limitMessage; // New with a full table
    // New runs the store-and-show step before and after it, so the page shows the new record as
    // the table holds it (players), rather than storing the page and emptying the boxes. Either
    // way nothing typed is dropped, and the new line becomes the current one.
    bool newStoresAndShows = false;
    QString newNumberText; // what New leaves in the number boxes
    // Appends the text a search looks in, as game bytes.
    void (*searchKey)(const std::uint8_t* record, std::string& key) = nullptr;
};

// A key rule of one text box, by control name.
struct KeyRow {
    const char* control;
    KeyRule rule;
    bool date = false; // the "mm.yy" rule instead of rule
};

// What changed in a page's table, for the views that follow it: a store, New and Delete name their
// record; anything else (a load, an import, a revert) may have changed every record.
struct TableEdit {
    enum class Kind : std::uint8_t { Any, Stored, Added, Removed };
    Kind kind = Kind::Any;
    int record = 0;    // the record stored, added or removed
    int movedFrom = 0; // Removed: the last record, which took its number; 0 when it was the last
};

class RecordPage : public QWidget, public gamedb::PageHooks {
    Q_OBJECT
public:
    RecordPage(const PageNames& names, PageTraits traits, Prompts& prompts, QWidget* parent = nullptr);
    ~RecordPage() override;

    gamedb::RecordTable& table() { return table_; }
    const gamedb::RecordTable& table() const { return table_; }
    bool isModified() const { return modified_; }
    void setModified() { modified_ = true; }
    bool isLoaded() const { return loaded_; }

    // Run by the window when the load makes the page visible.
    std::function<void(RecordPage*)> onShowPages;

    // gamedb::PageHooks
    void clearList() override;
    void addLine(const gamedb::RecordTable& table, int number) override;
    void storeAndShow() override;
    void showPages() override;
    void setLoaded() override;
    void clearModified() override { modified_ = false; }

    // The record number of the current line: the view's current index, or the first line when
    // none is current; 0 for an empty list.
    int currentRecord() const;
    // The number in the record-number label; 0 when no record is shown.
    int shownRecord() const;
    QListView* listView() const { return list_; }
    // What New says when the table is full.
    const QString& limitMessage() const { return traits_.limitMessage; }

    // For changes made to the table from outside the page (CSV import, export of unsaved edits).
    // Stores the page into the record it shows; false when a value was refused (already shown).
    bool storeShown();
    // The same without a message: a refused value is left for the next step to report.
    bool storeShownQuietly();
    // After the table changed: the list is rebuilt, the first line's record shown, the mark set.
    void tableChanged();
    // After the table changed under the page (a revert): nothing shown is stored back, the list
    // is rebuilt and record number shown, or the first line's record when number is gone. The
    // modified mark is the caller's.
    void showChangedTable(int number);
    // Stores the shown record, as a list click does, then shows record number with its line
    // current; a list that lacks it (after a Search) is reset first. False on a refused value.
    bool goToRecord(int number);
    QTabWidget* subPages() const { return subPages_; }

    // The caption of field on this page, without its colon: its box's label, a check box's own
    // text, a slot's caption ("Ita Long", "Ita Short"); its CSV column for a field not shown.
    QString fieldCaption(const gamedb::Field& field) const;
    // How the page's box edits field; none for a field no box edits (the ID).
    const FieldEditing* editingOf(const gamedb::Field& field) const;
    // An edit of record number from outside the page (a table's cell): when the page shows that
    // record it is stored first, as a list click stores it; write then runs on a copy of the
    // record, kept only when it did not throw; a change sets the mark, and the page shows the
    // record again. False when a value was refused (its message already shown).
    bool editRecord(int number, const std::function<void(std::uint8_t*)>& write);

signals:
    // The table's bytes changed: a store that wrote new bytes, New, Delete, a load, or a change
    // made from outside (import, revert). Every view of the table follows it; listeners only read.
    void tableEdited(const editor::TableEdit& edit = TableEdit());

protected:
    // The operations, each inside the error guard; false when it stopped on an error.
    bool runStep();
    bool runNew();
    bool runDelete();
    bool runReset();
    bool runSearch();
    // A line chosen with the mouse or the keyboard.
    virtual void listChosen() { runStep(); }

    // Fields, bound to the schema field of the widget's objectName. Store order is bind order.
    // A number box that still holds what showing the record put there keeps the field's bytes
    // when that value cannot be written back; a typed value that does not fit is refused.
    void bindText(QLineEdit* box);
    void bindNumber(QLineEdit* box, WhenEmpty empty = WhenEmpty::StoresZero);
    // A value drop-down: entry i stands for code i; no entry stores zero bytes. Left as showing
    // the record set it, it keeps the field's bytes, also a code it cannot show.
    void bindCode(QComboBox* box);
    // Checked exactly when the byte is 1; stores 1 or 0 once the user changed it, and otherwise
    // keeps the byte as it was.
    void bindFlag(QCheckBox* box);
    // A three-state box over a position flag: unchecked 0, grey 1, checked 2 (above 1 shows
    // checked); the user's clicks cycle unchecked, grey, checked.
    void bindTriState(QCheckBox* box);
    // A repeated field: entry i of selector makes box edit the schema field slotFields[i]. The
    // box is a QLineEdit (text or number, by the slots' encoding) or a QComboBox over codes.
    // Showing a record puts every selector on its first entry. Call runSlotSwitch from the
    // selector's handler when the user chooses an entry. captions name the slots away from the
    // page when the selector's entries would not tell them from another selector's.
    void bindSlots(QComboBox* selector, QWidget* box, std::initializer_list<const char*> slotFields,
                   const QStringList& captions = {});
    // Stores the box into the slot it held and shows the newly chosen slot of the record shown;
    // writes into the table at once and does not set the modified mark.
    bool runSlotSwitch(QComboBox* selector);
    // Key rules by control name; every text box also refuses what the game cannot store, and
    // every accepted key or edit of a box sets the modified mark.
    void installKeyRules(std::span<const KeyRow> rows);

    // The layout of sub-page i; the first starts with the record-number and ID labels.
    QVBoxLayout* pageLayout(int i) const;

    QListView* list_;
    QTabWidget* subPages_;
    QLabel* rec_;
    QLabel* id_;
    QPushButton* new_;
    QPushButton* del_;
    QPushButton* src_;
    QPushButton* res_;

private:
    void finishFill();
    void showList(gamedb::ListLines lines);
    void makeLineCurrent(int row, bool highlighted);
    void rebuildList();
    // Stores the page into the record it shows, if any; all or nothing.
    void storeShownRecord();
    // Runs write on a copy of record number and keeps the copy only when write did not throw;
    // true when that changed the record.
    bool writeRecord(int number, const std::function<void(std::uint8_t*)>& write);
    void bindBox(QWidget* box, FieldEditing editing);
    void showRecord(int number);
    void clearFields();
    const gamedb::Field* schemaField(const QWidget* w) const;
    void newRecord();
    void deleteRecord();
    void reset();
    void search();

    PageTraits traits_;
    Prompts& prompts_;
    gamedb::RecordTable table_;
    const gamedb::Field& idField_;
    RecordListModel* model_;
    std::vector<std::unique_ptr<FieldBinding>> bindings_;
    struct EditedField {
        const gamedb::Field* field;
        QWidget* box;
        FieldEditing editing;
    };
    std::vector<EditedField> editings_; // one per schema field a box edits, slots included
    gamedb::ListLines pending_;
    QString idShown_; // what showing the record put in the ID label
    bool filling_ = false;
    bool modified_ = false;
    bool loaded_ = false;
    bool programmatic_ = false; // the page itself moves the current line
    bool changedByPress_ = false;
    bool scrollWhenShown_ = false; // to the current line, once the list is shown
};

} // namespace editor
