#pragma once
// Input as the window system delivers it: spontaneous events sent to a widget's window, which
// routes them to the widget under the pointer or with the focus as a real click, key or wheel
// would be. And an answer to the next real message box, given that way.

#include <QAbstractButton>
#include <QAbstractEventDispatcher>
#include <QApplication>
#include <QCloseEvent>
#include <QMessageBox>
#include <QTimer>
#include <QWheelEvent>
#include <QWindow>
#include <QtTest>

#include <memory>

namespace windowsystem {

// Wheel notches over the centre of widget (negative: towards the user, the next entry).
inline void wheel(QWidget* widget, int notches = -1)
{
    QWidget* top = widget->window();
    const QPointF local = widget->mapTo(top, widget->rect().center());
    QWheelEvent e(local, top->mapToGlobal(local), QPoint(), QPoint(0, 120 * notches), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(top->windowHandle(), &e); // sendEvent would make it a synthesized event
}

// The close box of widget's window.
inline void closeBox(QWidget* widget)
{
    QCloseEvent e;
    QSpontaneKeyEvent::setSpontaneous(&e);
    qApp->notify(widget->window()->windowHandle(), &e);
}

enum class BoxAct {
    ClickYes,
    ClickNo,
    KeyY, // the buttons' own keys
    KeyN,
    Escape,
    Close,    // QWidget::close() on the box
    CloseBox, // the window system's close request
};

struct BoxWatch {
    QString caption;
    QString text;
    bool answered = false;
    bool stuck = false; // the box was still open after the answer
};

// Answers the next modal message box by act once it is shown (within about 5 s).
inline std::shared_ptr<BoxWatch> answerNextBox(BoxAct act)
{
    auto watch = std::make_shared<BoxWatch>();
    auto* poller = new QTimer(qApp);
    poller->setInterval(10);
    QObject::connect(poller, &QTimer::timeout, poller, [watch, poller, act, tries = 500]() mutable {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (!box || !box->isVisible()) {
            if (--tries == 0)
                poller->deleteLater(); // the test sees answered false
            return;
        }
        poller->stop();
        poller->deleteLater();
        watch->caption = box->windowTitle();
        watch->text = box->text();
        watch->answered = true;
        // A box that ignored its answer would block the test for ever: note it and let it go.
        auto* stuck = new QTimer(box);
        stuck->setSingleShot(true);
        QObject::connect(stuck, &QTimer::timeout, box, [watch, box] {
            watch->stuck = true;
            box->done(QMessageBox::Cancel);
        });
        stuck->start(3000);
        switch (act) {
        case BoxAct::ClickYes:
            QTest::mouseClick(box->button(QMessageBox::Yes), Qt::LeftButton);
            break;
        case BoxAct::ClickNo:
            QTest::mouseClick(box->button(QMessageBox::No), Qt::LeftButton);
            break;
        case BoxAct::KeyY:
            QTest::keyClick(box->windowHandle(), Qt::Key_Y);
            break;
        case BoxAct::KeyN:
            QTest::keyClick(box->windowHandle(), Qt::Key_N);
            break;
        case BoxAct::Escape:
            QTest::keyClick(box->windowHandle(), Qt::Key_Escape);
            break;
        case BoxAct::Close:
            box->close();
            break;
        case BoxAct::CloseBox:
            closeBox(box);
            break;
        }
        // QTest delivers the release at once, flushing events inside this timer's call; on Windows
        // that flush eats the wake-up of the box's loop, which then sleeps past its exit. A real key
        // arrives through the loop, so wake it as the real one is woken.
        QCoreApplication::eventDispatcher()->wakeUp();
    });
    poller->start();
    return watch;
}

} // namespace windowsystem
