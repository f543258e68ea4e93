#include "ScriptedPrompts.h"

bool ScriptedPrompts::confirm(QWidget*, const QString& question)
{
    asked.append({Kind::Confirm, question});
    return confirmAnswers.isEmpty() ? false : confirmAnswers.takeFirst();
}

void ScriptedPrompts::notice(QWidget*, const QString& text)
{
    asked.append({Kind::Notice, text});
}

void ScriptedPrompts::ownError(QWidget*, const QString& text)
{
    asked.append({Kind::OwnError, text});
}

void ScriptedPrompts::generalError(QWidget*, const QString& text)
{
    asked.append({Kind::GeneralError, text});
}

std::optional<QString> ScriptedPrompts::askText(QWidget*, const QString& caption, const QString& prompt)
{
    asked.append({Kind::AskText, caption + QLatin1Char('|') + prompt});
    return textAnswers.isEmpty() ? std::nullopt : textAnswers.takeFirst();
}

QStringList ScriptedPrompts::texts(Kind kind) const
{
    QStringList out;
    for (const Asked& a : asked) {
        if (a.kind == kind)
            out << a.text;
    }
    return out;
}
