#pragma once
// Every question, notice and error box of the program goes through this interface, so that a
// test can answer them. Windows receive it from whoever creates them.

#include <QString>

#include <optional>

class QWidget;

class Prompts {
public:
    // A question closed by Escape or its close box is answered neither Yes nor No; each caller
    // decides what that means for its window.
    enum class Answer { Yes, No, Dismissed };

    virtual ~Prompts() = default;
    // "Confirm", Yes and No.
    virtual Answer confirm(QWidget* parent, const QString& question) = 0;
    // A plain box with OK (limits such as a full table).
    virtual void notice(QWidget* parent, const QString& text) = 0;
    // An error the program reports itself: "Error", error icon, OK.
    virtual void ownError(QWidget* parent, const QString& text) = 0;
    // Any other error: caption "Korvex", error icon, OK; the text ends in a full stop.
    virtual void generalError(QWidget* parent, const QString& text) = 0;
    // A one-line prompt of up to 255 characters; empty on Cancel.
    virtual std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt) = 0;
    // A file to read or to write; empty on Cancel. The save dialog asks before replacing a file.
    virtual std::optional<QString> askOpenFile(QWidget* parent, const QString& caption, const QString& filter) = 0;
    virtual std::optional<QString> askSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                               const QString& filter) = 0;
};

// Appends the full stop the general error box demands.
QString withFullStop(const QString& text);

// The real boxes.
class DialogPrompts : public Prompts {
public:
    Answer confirm(QWidget* parent, const QString& question) override;
    void notice(QWidget* parent, const QString& text) override;
    void ownError(QWidget* parent, const QString& text) override;
    void generalError(QWidget* parent, const QString& text) override;
    std::optional<QString> askText(QWidget* parent, const QString& caption, const QString& prompt) override;
    std::optional<QString> askOpenFile(QWidget* parent, const QString& caption, const QString& filter) override;
    std::optional<QString> askSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                       const QString& filter) override;
};
