#pragma once
// Answers the program's questions in tests and records what was asked.

#include "widgets/Prompts.h"

#include <QList>
#include <QStringList>

#include <optional>

class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Confirm, Notice, OwnError, GeneralError, AskText, OpenFile, SaveFile };
    struct Asked {
        Kind kind;
        QString text; // the question or message; for AskText "caption|prompt"
    };

    // A confirm answer: true is Yes, false is No, or any Answer (Dismissed: Escape, close box).
    struct Reply {
        Reply(bool yes) : answer(yes ? Answer::Yes : Answer::No) {}
        Reply(Answer a) : answer(a) {}
        Answer answer;
    };

    // Answers used in order; when they run out, confirm answers No and the others cancel.
    QList<Reply> confirmAnswers;
    QList<std::optional<QString>> textAnswers;
    QList<std::optional<QString>> fileAnswers; // for askOpenFile and askSaveFile

    QList<Asked> asked;

    Answer confirm(QWidget* parent, const QString& question) override;
    void notice(QWidget* parent, const QString& text) override;
    void ownError(QWidget* parent, const QString& text) override;
    void generalError(QWidget* parent, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt) override;
    // Recorded as "caption|filter" and "caption|suggested|filter".
    std::optional<QString> askOpenFile(QWidget* parent, const QString& caption, const QString& filter) override;
    std::optional<QString> askSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                       const QString& filter) override;

    // The texts asked of one kind, in order.
    QStringList texts(Kind kind) const;
    void clear() { asked.clear(); }
};
