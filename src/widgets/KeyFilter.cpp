#include "widgets/KeyFilter.h"

#include "gamedb/GameText.h"

#include <QEvent>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

namespace {

bool isControlKey(QChar c)
{
    const char16_t u = c.unicode();
    return u == 8 || u == 9 || u == 10 || u == 13;
}

// The characters a key press would insert, whatever its modifiers (AltGr reaches us as Ctrl+Alt
// on some platforms); empty for keys and shortcuts that insert nothing (arrows, Ctrl+C).
QString typedChars(const QKeyEvent* e)
{
    switch (e->key()) {
    case Qt::Key_Backspace:
        return QString(QChar(8));
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return {}; // moves the focus; never reaches the box
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QString(QChar(13));
    default:
        break;
    }
    // Ctrl without Alt is a shortcut and inserts nothing; Ctrl+Alt is how AltGr arrives.
    const Qt::KeyboardModifiers mods = e->modifiers();
    if ((mods & (Qt::ControlModifier | Qt::MetaModifier)) && !(mods & Qt::AltModifier))
        return {};
    const QString t = e->text();
    for (const QChar c : t) {
        if ((c.unicode() < 0x20 && !isControlKey(c)) || c.unicode() == 0x7F)
            return {};
    }
    return t;
}

class KeyJudge : public QObject {
public:
    using Judge = std::function<bool(const QString& text, QChar key)>;
    using Notify = std::function<void(const QString& text, bool accepted)>;

    KeyJudge(QLineEdit* box, Judge judge, Notify notify)
        : QObject(box), box_(box), judge_(std::move(judge)), notify_(std::move(notify))
    {
        box->installEventFilter(this);
    }

protected:
    // Every character that would be inserted is judged by the same rule, one after the other,
    // however it arrives: a key with any modifiers, or text committed by an input method.
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_)
            return false;
        if (event->type() == QEvent::KeyPress) {
            const QString chars = typedChars(static_cast<QKeyEvent*>(event));
            QString text = box_->text();
            for (const QChar c : chars) {
                if (!judge(text, c))
                    return true; // the whole key is refused
                text += c;
            }
            return false;
        }
        if (event->type() == QEvent::InputMethod) {
            auto* im = static_cast<QInputMethodEvent*>(event);
            const QString commit = im->commitString();
            QString kept;
            for (const QChar c : commit) {
                if (judge(box_->text() + kept, c))
                    kept += c;
            }
            if (kept != commit)
                im->setCommitString(kept, im->replacementStart(), im->replacementLength());
        }
        return false;
    }

private:
    bool judge(const QString& before, QChar c) const
    {
        const bool accepted = isControlKey(c) || judge_(before, c);
        if (notify_)
            notify_(before, accepted);
        return accepted;
    }

    QLineEdit* box_;
    Judge judge_;
    Notify notify_;
};

class GameTextValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override
    {
        for (const QChar c : input) {
            if (!gamedb::isGameChar(c))
                return Invalid;
        }
        return Acceptable;
    }
};

} // namespace

void installKeyRule(QLineEdit* box, KeyRule rule, std::function<void()> onAccepted)
{
    new KeyJudge(
        box,
        [rule](const QString& text, QChar key) {
            if (rule.stopAt >= 0 && text.size() == rule.stopAt)
                return false;
            return rule.allowed.isEmpty() || rule.allowed.contains(key);
        },
        [onAccepted](const QString&, bool accepted) {
            if (accepted && onAccepted)
                onAccepted();
        });
}

bool dateRuleAccepts(const QString& text, QChar key)
{
    const bool digit = key >= QLatin1Char('0') && key <= QLatin1Char('9');
    if (isControlKey(key))
        return true;
    switch (text.size()) {
    case 0:
        return key == QLatin1Char('0') || key == QLatin1Char('1');
    case 1:
        if (text == QLatin1String("1"))
            return key >= QLatin1Char('0') && key <= QLatin1Char('2');
        if (text == QLatin1String("0"))
            return digit;
        return true;
    case 2:
        return key == QLatin1Char('.');
    case 3:
    case 4:
        return digit;
    case 5:
        return false;
    default:
        return true;
    }
}

void installDateRule(QLineEdit* box, std::function<void()> onTouched)
{
    new KeyJudge(box, &dateRuleAccepts, [onTouched](const QString& text, bool) {
        if (text.size() != 5 && onTouched)
            onTouched();
    });
}

void restrictToGameText(QLineEdit* box)
{
    box->setValidator(new GameTextValidator(box));
}

void installBoxRule(QLineEdit* box, const KeyRule& rule, bool date, std::function<void()> onEdit)
{
    if (date)
        installDateRule(box, onEdit);
    else
        installKeyRule(box, rule, onEdit);
    restrictToGameText(box);
    // Paste, cut and the Delete key change the text without a character key.
    if (onEdit)
        QObject::connect(box, &QLineEdit::textEdited, box, [onEdit] { onEdit(); });
}
