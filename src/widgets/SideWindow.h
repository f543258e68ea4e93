#pragma once
// A window a tool opens beside itself (the changes window of a data editor): a child window of
// the main frame when the tool sits in one, a window of its own otherwise. The tool deletes it
// with deleteBeside in its destructor, while what the window shows still exists.

class QWidget;

void showBeside(QWidget* owner, QWidget* window);
// Brings a window shown by showBeside to the front.
void raiseBeside(QWidget* window);
// Deletes window and its frame; nothing when window is null.
void deleteBeside(QWidget* window);
