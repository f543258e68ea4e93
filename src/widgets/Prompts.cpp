#include "widgets/Prompts.h"

#include "widgets/TextPrompt.h"

#include <QAbstractButton>
#include <QFileDialog>
#include <QMessageBox>

QString withFullStop(const QString& text)
{
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

Prompts::Answer DialogPrompts::confirm(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    // Without an escape button Escape and the close box report no button at all.
    box.setEscapeButton(static_cast<QAbstractButton*>(nullptr));
    box.exec();
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
