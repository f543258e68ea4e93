#pragma once
// Key rules of the text boxes, as data: a box either takes any character or only some, and may
// stop taking them once it holds a given number of characters. Backspace, Tab, line feed and
// carriage return always pass. Every character that would be inserted is judged, however it
// arrives (a key with any modifiers, an input method); keys that insert nothing are not.

#include <QString>

#include <functional>

class QLineEdit;

struct KeyRule {
    int stopAt = -1; // refuse characters while the box holds exactly this many; -1: no limit
    QString allowed; // the characters taken; empty: any
};

inline const QString kDigits = QStringLiteral("0123456789");

// onAccepted runs for every key the rule lets through.
void installKeyRule(QLineEdit* box, KeyRule rule, std::function<void()> onAccepted = {});

// "mm.yy": month 00..12, any two-digit year. onTouched runs for every key pressed while the box
// does not hold five characters, taken or not.
void installDateRule(QLineEdit* box, std::function<void()> onTouched = {});

// Refuses typed and pasted characters the game's code page cannot store.
void restrictToGameText(QLineEdit* box);

// A text box's whole rule, the same wherever a field is edited (a page's box, a table's cell):
// rule's keys or the date rule, and only what the game can store. onEdit runs for every key the
// rule takes and for every paste, cut or Delete key.
void installBoxRule(QLineEdit* box, const KeyRule& rule, bool date, std::function<void()> onEdit = {});

// The decision of the date rule for text (before the key) and key; exposed for its table test.
bool dateRuleAccepts(const QString& text, QChar key);
