#include "widgets/TextPrompt.h"

#include "widgets/KeyFilter.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

TextPrompt::TextPrompt(const QString& caption, const QString& prompt, QWidget* parent)
    : QDialog(parent), edit_(new QLineEdit(this))
{
    setWindowTitle(caption);
    auto* label = new QLabel(prompt, this);
    label->setBuddy(edit_);
    edit_->setObjectName(QStringLiteral("PromptText"));
    edit_->setMaxLength(255);
    restrictToGameText(edit_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(edit_);
    layout->addWidget(buttons);
    setMinimumWidth(320);
}

QString TextPrompt::text() const
{
    return edit_->text();
}
