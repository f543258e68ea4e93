#pragma once
// One field of a record page: a widget tied to a schema field. Showing puts the record's value in
// the widget; storing writes the widget's value back into the record's bytes (or throws GameError
// with the message the user sees); clearing is what New leaves in the widget. A drop-down or check
// box that still holds what showing put there leaves its field's bytes as they were; a number box
// those it cannot write back.

#include "gamedb/CodeTables.h"
#include "gamedb/Schema.h"
#include "widgets/KeyFilter.h"

#include <QString>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QWidget;

namespace editor {

// What a number box with no text stores.
enum class WhenEmpty {
    StoresZero,
    KeepsBytes, // the field keeps what it held
};

class FieldBinding {
public:
    FieldBinding(QWidget* widget, const gamedb::Field* field) : widget_(widget), field_(field) {}
    virtual ~FieldBinding() = default;
    FieldBinding(const FieldBinding&) = delete;
    FieldBinding& operator=(const FieldBinding&) = delete;

    QWidget* widget() const { return widget_; }
    const gamedb::Field& field() const { return *field_; }
    // A slot binding moves its box from one repeated field to another.
    void setField(const gamedb::Field* field) { field_ = field; }

    virtual void show(const std::uint8_t* record) = 0;
    virtual void store(std::uint8_t* record) const = 0;
    virtual void clear(const QString& numberText) = 0;

private:
    QWidget* widget_;
    const gamedb::Field* field_;
};

// How a page's box edits one field, so that any other editor of the field (a table's cell) edits it
// exactly as the page does: the kind of box, what an empty number box stores, its key rule.
struct FieldEditing {
    enum class Box : std::uint8_t { Text, Number, Code, Flag, TriState };
    Box box;
    WhenEmpty empty = WhenEmpty::StoresZero;
    bool hasRule = false; // a text box with a key rule
    KeyRule rule = {};
    bool date = false; // the date rule instead of rule
};

// Makes box (a QLineEdit for a text or a number, a QComboBox for a code, a QCheckBox for a flag
// or a position) edit field as editing says: a drop-down gets its field's codes, a text box its
// key rule (onEdit runs for every key or edit the rule takes). The binding shows and stores.
std::unique_ptr<FieldBinding> prepareBox(const FieldEditing& editing, QWidget* box, const gamedb::Field* field,
                                         std::function<void()> onEdit = {});

// Writes a number typed as text. An empty text stores 0 unless keepWhenEmpty. When the text is
// still what showing the record put there and the value cannot be written back (digits that read
// above what the encoding can write), the field keeps its bytes: only what the user changed is
// judged.
void storeNumberText(std::uint8_t* record, const gamedb::Field& field, const QString& text, const QString& shown,
                     bool keepWhenEmpty = false);

// Sets a label that shows a value; its accessible name is the value, so a screen reader reads it.
void showValue(QLabel* label, const QString& value);

std::unique_ptr<FieldBinding> textBinding(QLineEdit* box, const gamedb::Field* field);
std::unique_ptr<FieldBinding> numberBinding(QLineEdit* box, const gamedb::Field* field, WhenEmpty empty);
// The field's own code table fills the drop-down's choices.
std::unique_ptr<FieldBinding> codeBinding(QComboBox* box, const gamedb::Field* field);
std::unique_ptr<FieldBinding> flagBinding(QCheckBox* box, const gamedb::Field* field);
std::unique_ptr<FieldBinding> triStateBinding(QCheckBox* box, const gamedb::Field* field);

// A box whose field is chosen by a selector: entry i edits slots[i].
class SlotBinding : public FieldBinding {
public:
    // captions name the slots where they are seen apart from the selector (a table's header, a
    // changes line); without them the selector's entries do.
    SlotBinding(QComboBox* selector, std::unique_ptr<FieldBinding> box, std::vector<const gamedb::Field*> fields,
                QStringList captions = {});

    QComboBox* selector() const { return selector_; }
    QString caption(int slot) const;
    // The slot the box holds; -1 before anything was shown.
    int slot() const { return slot_; }
    // The entry of the selector that edits field; -1 when it is none of the slots.
    int slotOf(const gamedb::Field& field) const;

    void show(const std::uint8_t* record) override;
    void store(std::uint8_t* record) const override { box_->store(record); }
    void clear(const QString& numberText) override;
    // Stores the box into its slot of record, then shows the selector's slot of record.
    void switchSlot(std::uint8_t* record);
    // Puts the selector back on the slot the box holds (a switch that could not store).
    void restoreSelector();

private:
    void moveTo(int slot);

    QComboBox* selector_;
    std::unique_ptr<FieldBinding> box_;
    std::vector<const gamedb::Field*> slots_;
    QStringList captions_;
    int slot_ = -1;
};

} // namespace editor
