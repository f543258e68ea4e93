#include "editor/FilterHeader.h"

#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>

#include <algorithm>

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
    installEventFilter(this);
}

void FilterHeader::makeBoxes(QWidget* owner)
{
    for (QLineEdit* b : boxes_)
        delete b;
    boxes_.clear();
    owner_ = owner;
    for (int i = 0; i < count(); ++i) {
        auto* b = new QLineEdit(owner);
        const QString caption = model()->headerData(i, Qt::Horizontal).toString();
        b->setObjectName(QStringLiteral("Filter%1").arg(i));
        b->setAccessibleName(caption + QStringLiteral(" filter"));
        b->setToolTip(kHint);
        b->setClearButtonEnabled(false);
        connect(b, &QLineEdit::textEdited, this, [this, i](const QString& text) { emit filterEdited(i, text); });
        b->installEventFilter(this);
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

bool FilterHeader::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == this) {
        // The header moved within the window: the boxes follow.
        if (event->type() == QEvent::Move || event->type() == QEvent::Resize || event->type() == QEvent::Show)
            placeBoxes();
        return false;
    }
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter && key != Qt::Key_Down)
        return false;
    const auto at = std::find(boxes_.begin(), boxes_.end(), watched);
    if (at == boxes_.end())
        return false;
    emit leftBox(static_cast<int>(at - boxes_.begin()));
    return true;
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
    if (boxes_.empty() || !owner_)
        return;
    const QRect area = viewport()->geometry();
    const int height = boxes_.front()->sizeHint().height();
    for (int i = 0; i < boxCount(); ++i) {
        QLineEdit* b = box(i);
        // Only the part under the header's visible sections: a box scrolled half out is cut.
        const int left = std::max(sectionViewportPosition(i), 0);
        const int right = std::min(sectionViewportPosition(i) + sectionSize(i), area.width());
        if (isSectionHidden(i) || right - left < 8 || !isVisible()) {
            b->hide();
            continue;
        }
        // Made after the table, the boxes lie above it; unchanged ones are left alone, since a
        // sort or a filter lays the header out again.
        const QPoint at = mapTo(owner_, QPoint(area.x() + left, area.bottom() + 1));
        const QRect place(at.x(), at.y(), right - left, height);
        if (b->geometry() != place)
            b->setGeometry(place);
        if (b->isHidden())
            b->show();
    }
}

} // namespace editor
