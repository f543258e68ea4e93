#include "ScriptedPrompts.h"

Prompts::Answer ScriptedPrompts::confirm(QWidget*, const QString& question)
{
    asked.append({Kind::Confirm, question});
    return confirmAnswers.isEmpty() ? Answer::No : confirmAnswers.takeFirst().answer;
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

std::optional<QString> ScriptedPrompts::askOpenFile(QWidget*, const QString& caption, const QString& filter)
{
    asked.append({Kind::OpenFile, caption + QLatin1Char('|') + filter});
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
}

std::optional<QString> ScriptedPrompts::askSaveFile(QWidget*, const QString& caption, const QString& suggested,
                                                    const QString& filter)
{
    asked.append({Kind::SaveFile, caption + QLatin1Char('|') + suggested + QLatin1Char('|') + filter});
    return fileAnswers.isEmpty() ? std::nullopt : fileAnswers.takeFirst();
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
