#include "editor/FilterHeader.h"

#include <QLineEdit>
#include <QScrollBar>

namespace editor {
namespace {

const QString kHint = QStringLiteral("Filter: text, =text, 18, >18, >=18, <21, <=21, <>0, 10~20, /regex/, = (empty), "
                                     "<> (not empty)");

} // namespace

FilterHeader::FilterHeader(QWidget* parent) : QHeaderView(Qt::Horizontal, parent)
{
    setSectionsClickable(true);
    setSortIndicatorShown(true);
    setHighlightSections(false);
    connect(this, &QHeaderView::sectionResized, this, [this] { placeBoxes(); });
}

void FilterHeader::makeBoxes()
{
    for (QLineEdit* b : boxes_)
        delete b;
    boxes_.clear();
    for (int i = 0; i < count(); ++i) {
        auto* b = new QLineEdit(this);
        const QString caption = model()->headerData(i, Qt::Horizontal).toString();
        b->setObjectName(QStringLiteral("Filter%1").arg(i));
        b->setAccessibleName(caption + QStringLiteral(" filter"));
        b->setToolTip(kHint);
        b->setClearButtonEnabled(false);
        connect(b, &QLineEdit::textEdited, this, [this, i](const QString& text) { emit filterEdited(i, text); });
        boxes_.push_back(b);
    }
    updateGeometries();
}

void FilterHeader::markUnreadable(int column, const QString& reason)
{
    QLineEdit* b = box(column);
    QPalette red = b->palette();
    red.setColor(QPalette::Base, QColor(255, 200, 200));
    b->setPalette(red);
    b->setToolTip(reason);
    b->setAccessibleDescription(reason);
}

void FilterHeader::markReadable(int column)
{
    QLineEdit* b = box(column);
    b->setPalette(QPalette());
    b->setToolTip(kHint);
    b->setAccessibleDescription(QString());
}

QSize FilterHeader::sizeHint() const
{
    QSize s = QHeaderView::sizeHint();
    if (!boxes_.empty())
        s.setHeight(s.height() + boxes_.front()->sizeHint().height());
    return s;
}

void FilterHeader::updateGeometries()
{
    // The sections keep their own height; the boxes take a strip below them.
    setViewportMargins(0, 0, 0, boxes_.empty() ? 0 : boxes_.front()->sizeHint().height());
    QHeaderView::updateGeometries();
    placeBoxes();
}

void FilterHeader::placeBoxes()
{
    if (boxes_.empty())
        return;
    const QRect area = viewport()->geometry();
    const int height = boxes_.front()->sizeHint().height();
    for (int i = 0; i < boxCount(); ++i) {
        QLineEdit* b = box(i);
        if (isSectionHidden(i)) {
            b->hide();
            continue;
        }
        const int x = sectionViewportPosition(i);
        b->setGeometry(area.x() + x, area.bottom() + 1, sectionSize(i), height);
        // A box scrolled out of the header would cover the frame.
        b->setVisible(x + sectionSize(i) > 0 && x < area.width());
    }
}

} // namespace editor
