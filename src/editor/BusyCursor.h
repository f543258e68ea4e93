#pragma once
// The application-wide busy cursor for as long as the guard lives, error paths included.

#include <QCursor>
#include <QGuiApplication>

namespace editor {

class BusyCursor {
public:
    BusyCursor() { QGuiApplication::setOverrideCursor(QCursor(Qt::WaitCursor)); }
    ~BusyCursor() { QGuiApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

} // namespace editor
