#include "widgets/WheelFocus.h"

#include <QEvent>
#include <QWidget>

namespace {

class WheelFilter : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() != QEvent::Wheel || static_cast<QWidget*>(watched)->hasFocus())
            return false;
        event->ignore(); // ignored, it goes on to the parent, which scrolls
        return true;
    }
};

} // namespace

void wheelOnlyWithFocus(QWidget* box)
{
    box->setFocusPolicy(Qt::StrongFocus);
    box->installEventFilter(new WheelFilter(box));
}
