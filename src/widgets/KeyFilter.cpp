#include "widgets/KeyFilter.h"

#include "gamedb/GameText.h"

#include <QEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QValidator>

#include <optional>

namespace {

bool isControlKey(QChar c)
{
    const char16_t u = c.unicode();
    return u == 8 || u == 9 || u == 10 || u == 13;
}

// The character a key press would type, or none for keys that type nothing.
std::optional<QChar> typedChar(const QKeyEvent* e)
{
    if (e->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
        return std::nullopt;
    switch (e->key()) {
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return std::nullopt; // moves the focus; never reaches the box
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    default:
        break;
    }
    const QString t = e->text();
    if (t.size() != 1 || (t[0].unicode() < 0x20 && !isControlKey(t[0])) || t[0].unicode() == 0x7F)
        return std::nullopt;
    return t[0];
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
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (watched != box_ || event->type() != QEvent::KeyPress)
            return false;
        const auto c = typedChar(static_cast<QKeyEvent*>(event));
        if (!c)
            return false;
        const QString before = box_->text();
        const bool accepted = isControlKey(*c) || judge_(before, *c);
        if (notify_)
            notify_(before, accepted);
        return !accepted;
    }

private:
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
