#pragma once
// What the tool windows with OK/Cancel buttons share: Enter saves, Escape cancels, and every way of closing
// (Cancel, the close box, the main window's exit) runs the window's own close path.

#include <QWidget>

class ToolWindow : public QWidget {
    Q_OBJECT
public:
    using QWidget::QWidget;

    virtual void Button1Click() = 0; // the default button
    virtual void Button2Click() = 0; // the cancel button
    // False keeps the window open.
    virtual bool FormClose() = 0;

protected:
    // Inside the main frame the child window closes, which runs FormClose.
    void closeWindow();
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
};
