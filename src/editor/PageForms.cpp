#include "editor/PageForms.h"

#include <QBoxLayout>

namespace editor {

QFormLayout* newForm(int spacing)
{
    auto* form = new QFormLayout;
    form->setContentsMargins(0, spacing + 1, 0, 0);
    form->setVerticalSpacing(spacing);
    form->setHorizontalSpacing(6);
    form->setFieldGrowthPolicy(QFormLayout::AllNonFixedFieldsGrow);
    form->setLabelAlignment(Qt::AlignLeft);
    return form;
}

QFormLayout* formOn(QBoxLayout* page, int spacing)
{
    QFormLayout* form = newForm(spacing);
    page->addLayout(form);
    return form;
}

QCheckBox* captionLeftBox(QWidget* parent, const char* caption, const char* name, const char* hint)
{
    auto* box = namedBox<QCheckBox>(parent, name, hint);
    box->setText(QString::fromUtf8(caption));
    box->setLayoutDirection(Qt::RightToLeft);
    return box;
}

} // namespace editor
