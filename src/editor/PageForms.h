#pragma once
// How the record pages lay out their fields, written once: a form of caption rows, boxes named
// by control with their hints as tooltips, captions tied to their boxes so assistive technology
// reads the caption, and check boxes with the caption left of the box.

#include <QCheckBox>
#include <QFormLayout>
#include <QString>
#include <QWidget>

class QBoxLayout;

namespace editor {

// A form of caption rows, added to a sub-page's layout.
QFormLayout* newForm(int spacing = 3);
QFormLayout* formOn(QBoxLayout* page, int spacing = 3);

// A box with its control name and hint.
template <class Box> Box* namedBox(QWidget* parent, const char* name, const char* hint = nullptr)
{
    auto* box = new Box(parent);
    box->setObjectName(QString::fromLatin1(name));
    if (hint)
        box->setToolTip(QString::fromUtf8(hint));
    return box;
}

// A captioned row: the form's label becomes the box's buddy, so the caption is its accessible name.
template <class Box>
Box* captionedRow(QWidget* page, QFormLayout* form, const char* caption, const char* name, const char* hint)
{
    Box* box = namedBox<Box>(page, name, hint);
    form->addRow(QString::fromUtf8(caption), box);
    return box;
}

// A box without a caption: its hint is what a screen reader says.
template <class Box> Box* uncaptioned(QWidget* page, const char* name, const char* hint)
{
    Box* box = namedBox<Box>(page, name, hint);
    box->setAccessibleName(QString::fromUtf8(hint));
    return box;
}

// A check box whose caption stands left of the box.
QCheckBox* captionLeftBox(QWidget* parent, const char* caption, const char* name, const char* hint = nullptr);

} // namespace editor
