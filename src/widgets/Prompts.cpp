#include "widgets/Prompts.h"

#include "widgets/TextPrompt.h"

#include <QApplication>
#include <QMessageBox>

QString withFullStop(const QString& text)
{
    return text.endsWith(QLatin1Char('.')) ? text : text + QLatin1Char('.');
}

bool DialogPrompts::confirm(QWidget* parent, const QString& question)
{
    QMessageBox box(QMessageBox::Question, QStringLiteral("Confirm"), question, QMessageBox::Yes | QMessageBox::No,
                    parent);
    return box.exec() == QMessageBox::Yes;
}

void DialogPrompts::notice(QWidget* parent, const QString& text)
{
    QMessageBox box(QMessageBox::NoIcon, QApplication::applicationDisplayName(), text, QMessageBox::Ok, parent);
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
