#include "widgets/ToolWindow.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMdiSubWindow>

void ToolWindow::closeWindow()
{
    // Closing only this widget would leave its empty frame behind in the main window.
    if (auto* sub = qobject_cast<QMdiSubWindow*>(parentWidget()))
        sub->close();
    else
        close();
}

void ToolWindow::closeEvent(QCloseEvent* event)
{
    if (FormClose())
        event->accept();
    else
        event->ignore();
}

void ToolWindow::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
        Button1Click();
        return;
    case Qt::Key_Escape:
        Button2Click();
        return;
    default:
        QWidget::keyPressEvent(event);
    }
}
