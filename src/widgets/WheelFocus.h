#pragma once
// A value drop-down changes with the mouse wheel only while it has the keyboard focus: a wheel
// turned to scroll the window over it must not choose another entry.

class QWidget;

// Takes the wheel-focus policy away (a wheel event would otherwise give box the focus before it
// arrives) and passes the wheel on to the parent while box has no focus.
void wheelOnlyWithFocus(QWidget* box);
