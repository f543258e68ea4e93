#include "widgets/SideWindow.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QWidget>

namespace {

QMdiSubWindow* frameOf(const QWidget* w)
{
    for (QWidget* p = w ? w->parentWidget() : nullptr; p; p = p->parentWidget()) {
        if (auto* sub = qobject_cast<QMdiSubWindow*>(p))
            return sub;
    }
    return nullptr;
}

} // namespace

void showBeside(QWidget* owner, QWidget* window)
{
    window->setAttribute(Qt::WA_DeleteOnClose);
    QMdiSubWindow* ownerFrame = frameOf(owner);
    QMdiArea* area = ownerFrame ? ownerFrame->mdiArea() : nullptr;
    if (!area) {
        // Owned by the tool: deleted with it.
        window->setParent(owner, Qt::Window);
        window->show();
        window->setFocus();
        return;
    }
    QMdiSubWindow* sub = area->addSubWindow(window);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->resize(sub->sizeHint());
    sub->move(std::min(ownerFrame->x() + 40, std::max(0, area->width() - sub->width())),
              std::min(ownerFrame->y() + 40, std::max(0, area->height() - sub->height())));
    sub->show();
    window->setFocus();
}

void raiseBeside(QWidget* window)
{
    if (QMdiSubWindow* sub = frameOf(window)) {
        sub->showNormal();
        if (QMdiArea* area = sub->mdiArea())
            area->setActiveSubWindow(sub);
        return;
    }
    window->show();
    window->raise();
    window->activateWindow();
}

void deleteBeside(QWidget* window)
{
    if (!window)
        return;
    if (QMdiSubWindow* sub = frameOf(window))
        delete sub;
    else
        delete window;
}
