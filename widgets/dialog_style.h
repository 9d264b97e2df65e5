#pragma once
// Small helpers the parameter dialogs share.

#include "platform/latin1.h"

class QLabel;
class QSpinBox;
class QString;
class QWidget;

// The message line under the fields: red text, its height kept when empty so the dialog
// does not jump while the user types.
QLabel* newMessageLine(QWidget* parent);

// The least width a window needs for the window manager to show its caption whole: the title
// in the system's title font, beside the title bar's icon and buttons (each about as wide as
// the bar is high).
int captionWidth(const QString& title);

// A spin box named for the tests, from `low` to `high`, holding `value` (brought into range).
QSpinBox* newSpinBox(const char* name, int low, int high, int value, QWidget* parent);
