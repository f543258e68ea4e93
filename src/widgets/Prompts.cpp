#include "widgets/Prompts.h"

#include "widgets/TextPrompt.h"

#include <QCloseEvent>
#include <QFileDialog>
#include <QKeyEvent>
#include <QMessageBox>

QString withFullStop(const QString& text)
{
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

namespace {

// A Yes/No box makes No its escape button, and one without an escape button ignores its close
// box: so Escape and the close box are caught here and answer neither.
class QuestionBox : public QMessageBox {
public:
    QuestionBox(const QString& question, QWidget* parent)
        : QMessageBox(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::Yes | QMessageBox::No,
                      parent)
    {
    }
    bool dismissed() const { return dismissed_; }

protected:
    void keyPressEvent(QKeyEvent* e) override
    {
        if (e->matches(QKeySequence::Cancel)) {
            dismissed_ = true;
            reject();
            return;
        }
        QMessageBox::keyPressEvent(e); // Y, N, Return and the rest as the box has them
    }
    void closeEvent(QCloseEvent* e) override
    {
        if (!clickedButton())
            dismissed_ = true;
        QDialog::closeEvent(e); // closes, where the message box would ignore it
    }

private:
    bool dismissed_ = false;
};

} // namespace

Prompts::Answer DialogPrompts::confirm(QWidget* parent, const QString& question)
{
    QuestionBox box(question, parent);
    box.exec();
    if (box.dismissed())
        return Answer::Dismissed;
    if (box.clickedButton() == box.button(QMessageBox::Yes))
        return Answer::Yes;
    if (box.clickedButton() == box.button(QMessageBox::No))
        return Answer::No;
    return Answer::Dismissed;
}

void DialogPrompts::notice(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QStringLiteral("Korvex"), text, QMessageBox::Ok, parent);
    box.exec();
}

void DialogPrompts::ownError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Error"), text, QMessageBox::Ok, parent);
    box.exec();
}

void DialogPrompts::generalError(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::Critical, QStringLiteral("Korvex"), withFullStop(text), QMessageBox::Ok, parent);
    box.exec();
}

std::optional<QString> DialogPrompts::askText(QWidget* parent, const QString& caption, const QString& prompt)
{
    TextPrompt dialog(caption, prompt, parent);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    return dialog.text();
}

std::optional<QString> DialogPrompts::askOpenFile(QWidget* parent, const QString& caption, const QString& filter)
{
    const QString file = QFileDialog::getOpenFileName(parent, caption, QString(), filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}

std::optional<QString> DialogPrompts::askSaveFile(QWidget* parent, const QString& caption, const QString& suggested,
                                                  const QString& filter)
{
    const QString file = QFileDialog::getSaveFileName(parent, caption, suggested, filter);
    if (file.isEmpty())
        return std::nullopt;
    return file;
}
