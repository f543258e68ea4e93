#include "editor/FieldBinding.h"

#include "gamedb/GameError.h"
#include "gamedb/GameText.h"
#include "widgets/WheelFocus.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QSignalBlocker>

#include <algorithm>
#include <optional>
#include <stdexcept>

namespace editor {
namespace {

// Anything but a whole decimal 32-bit number is refused; whether it fits the field is
// writeNumber's judgement.
long long parseNumber(const QString& text)
{
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

class TextBinding : public FieldBinding {
public:
    TextBinding(QLineEdit* box, const gamedb::Field* field) : FieldBinding(box, field), box_(box) {}
    void show(const std::uint8_t* r) override { box_->setText(gamedb::fromGame(gamedb::readText(r, field()))); }
    // Never more than the field's width: a longer text is cut there.
    void store(std::uint8_t* r) const override { gamedb::writeText(r, field(), gameBytes(box_->text())); }
    void clear(const QString&) override { box_->clear(); }

private:
    QLineEdit* box_;
};

class NumberBinding : public FieldBinding {
public:
    NumberBinding(QLineEdit* box, const gamedb::Field* field, WhenEmpty empty)
        : FieldBinding(box, field), box_(box), empty_(empty)
    {
    }
    void show(const std::uint8_t* r) override
    {
        shown_ = QString::number(gamedb::readNumber(r, field()));
        box_->setText(shown_);
    }
    void store(std::uint8_t* r) const override
    {
        storeNumberText(r, field(), box_->text(), shown_, empty_ == WhenEmpty::KeepsBytes);
    }
    void clear(const QString& numberText) override
    {
        shown_.clear();
        box_->setText(numberText);
    }

private:
    QLineEdit* box_;
    WhenEmpty empty_;
    QString shown_;
};

// An entry the user did not change keeps the field's bytes, also a code the table does not know
// (shown as no entry) or one followed by further bytes.
class CodeBinding : public FieldBinding {
public:
    CodeBinding(QComboBox* box, const gamedb::Field* field) : FieldBinding(box, field), box_(box), codes_(*field->codes)
    {
    }
    void show(const std::uint8_t* r) override
    {
        box_->setCurrentIndex(-1);
        shown_ = gamedb::matchCode(codes_, r, field());
        box_->setCurrentIndex(*shown_);
    }
    void store(std::uint8_t* r) const override
    {
        if (!shown_ || box_->currentIndex() != *shown_)
            gamedb::storeCode(codes_, box_->currentIndex(), r, field());
    }
    void clear(const QString&) override
    {
        shown_.reset();
        box_->setCurrentIndex(-1);
    }

private:
    QComboBox* box_;
    gamedb::CodeTable codes_;
    std::optional<int> shown_; // the entry showing the record chose; none after New
};

// A box the user did not change keeps the field's byte, also one that is neither 0 nor 1.
class FlagBinding : public FieldBinding {
public:
    FlagBinding(QCheckBox* box, const gamedb::Field* field) : FieldBinding(box, field), box_(box) {}
    void show(const std::uint8_t* r) override
    {
        shown_ = gamedb::readNumber(r, field()) == 1;
        box_->setChecked(*shown_);
    }
    void store(std::uint8_t* r) const override
    {
        if (!shown_ || box_->isChecked() != *shown_)
            gamedb::writeNumber(r, field(), box_->isChecked() ? 1 : 0);
    }
    void clear(const QString&) override
    {
        shown_.reset();
        box_->setChecked(false);
    }

private:
    QCheckBox* box_;
    std::optional<bool> shown_; // what showing the record put there; none after New
};

class TriStateBinding : public FieldBinding {
public:
    TriStateBinding(QCheckBox* box, const gamedb::Field* field) : FieldBinding(box, field), box_(box)
    {
        box->setTristate(true); // clicks cycle unchecked, grey, checked
    }
    void show(const std::uint8_t* r) override
    {
        const long long v = gamedb::readNumber(r, field());
        box_->setCheckState(v == 0 ? Qt::Unchecked : v == 1 ? Qt::PartiallyChecked : Qt::Checked);
    }
    void store(std::uint8_t* r) const override
    {
        const Qt::CheckState s = box_->checkState();
        gamedb::writeNumber(r, field(), s == Qt::Unchecked ? 0 : s == Qt::PartiallyChecked ? 1 : 2);
    }
    void clear(const QString&) override { box_->setCheckState(Qt::Unchecked); }

private:
    QCheckBox* box_;
};

} // namespace

void storeNumberText(std::uint8_t* record, const gamedb::Field& field, const QString& text, const QString& shown,
                     bool keepWhenEmpty)
{
    if (text.isEmpty()) {
        if (!keepWhenEmpty)
            gamedb::writeNumber(record, field, 0);
        return;
    }
    try {
        gamedb::writeNumber(record, field, parseNumber(text));
    } catch (const gamedb::GameError&) {
        if (text != shown)
            throw;
    }
}

void showValue(QLabel* label, const QString& value)
{
    label->setText(value);
    label->setAccessibleName(value);
}

std::unique_ptr<FieldBinding> textBinding(QLineEdit* box, const gamedb::Field* field)
{
    return std::make_unique<TextBinding>(box, field);
}

std::unique_ptr<FieldBinding> numberBinding(QLineEdit* box, const gamedb::Field* field, WhenEmpty empty)
{
    return std::make_unique<NumberBinding>(box, field, empty);
}

std::unique_ptr<FieldBinding> codeBinding(QComboBox* box, const gamedb::Field* field)
{
    return std::make_unique<CodeBinding>(box, field);
}

std::unique_ptr<FieldBinding> flagBinding(QCheckBox* box, const gamedb::Field* field)
{
    return std::make_unique<FlagBinding>(box, field);
}

std::unique_ptr<FieldBinding> triStateBinding(QCheckBox* box, const gamedb::Field* field)
{
    return std::make_unique<TriStateBinding>(box, field);
}

std::unique_ptr<FieldBinding> prepareBox(const FieldEditing& editing, QWidget* box, const gamedb::Field* field,
                                         std::function<void()> onEdit)
{
    using Box = FieldEditing::Box;
    if (editing.box == Box::Code) {
        auto* combo = static_cast<QComboBox*>(box);
        // A value drop-down offers its table's texts and starts with no entry chosen.
        combo->addItems(gamedb::codeTexts(*field->codes));
        combo->setCurrentIndex(-1);
        wheelOnlyWithFocus(combo);
        return codeBinding(combo, field);
    }
    if (editing.box == Box::Flag)
        return flagBinding(static_cast<QCheckBox*>(box), field);
    if (editing.box == Box::TriState)
        return triStateBinding(static_cast<QCheckBox*>(box), field);
    auto* line = static_cast<QLineEdit*>(box);
    if (editing.hasRule)
        installBoxRule(line, editing.rule, editing.date, std::move(onEdit));
    return editing.box == Box::Text ? textBinding(line, field) : numberBinding(line, field, editing.empty);
}

// --- slots ----------------------------------------------------------------------------------

SlotBinding::SlotBinding(QComboBox* selector, std::unique_ptr<FieldBinding> box,
                         std::vector<const gamedb::Field*> fields, QStringList captions)
    : FieldBinding(selector, fields.front()), selector_(selector), box_(std::move(box)), slots_(std::move(fields)),
      captions_(std::move(captions))
{
    if (!captions_.isEmpty() && captions_.size() != static_cast<qsizetype>(slots_.size()))
        throw std::logic_error("a caption for each slot of " + selector->objectName().toStdString());
    selector_->setCurrentIndex(-1);
}

QString SlotBinding::caption(int slot) const
{
    return captions_.isEmpty() ? selector_->itemText(slot) : captions_.at(slot);
}

void SlotBinding::moveTo(int slot)
{
    slot_ = slot;
    setField(slots_[static_cast<std::size_t>(slot)]);
    box_->setField(slots_[static_cast<std::size_t>(slot)]);
    const QSignalBlocker quiet(selector_);
    selector_->setCurrentIndex(slot);
}

void SlotBinding::show(const std::uint8_t* record)
{
    moveTo(0);
    box_->show(record);
}

void SlotBinding::clear(const QString& numberText)
{
    moveTo(0);
    box_->clear(numberText);
}

void SlotBinding::switchSlot(std::uint8_t* record)
{
    const int chosen = selector_->currentIndex();
    if (chosen < 0 || chosen >= static_cast<int>(slots_.size()))
        return;
    if (slot_ >= 0)
        box_->store(record);
    moveTo(chosen);
    box_->show(record);
}

int SlotBinding::slotOf(const gamedb::Field& field) const
{
    const auto at = std::find(slots_.begin(), slots_.end(), &field);
    return at == slots_.end() ? -1 : static_cast<int>(at - slots_.begin());
}

void SlotBinding::restoreSelector()
{
    const QSignalBlocker quiet(selector_);
    selector_->setCurrentIndex(slot_);
}

} // namespace editor
