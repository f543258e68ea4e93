#pragma once
// Answers the program's questions in tests and records what was asked.

#include "widgets/Prompts.h"

#include <QList>
#include <QStringList>

#include <optional>

class ScriptedPrompts : public Prompts {
public:
    enum class Kind { Confirm, Notice, OwnError, GeneralError, AskText };
    struct Asked {
        Kind kind;
        QString text; // the question or message; for AskText "caption|prompt"
    };

    // Answers used in order; when they run out, confirm answers No and askText cancels.
    QList<bool> confirmAnswers;
    QList<std::optional<QString>> textAnswers;

    QList<Asked> asked;

    bool confirm(QWidget* parent, const QString& question) override;
    void notice(QWidget* parent, const QString& text) override;
    void ownError(QWidget* parent, const QString& text) override;
    void generalError(QWidget* parent, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt) override;

    // The texts asked of one kind, in order.
    QStringList texts(Kind kind) const;
    void clear() { asked.clear(); }
};
