#pragma once
// Small helpers the parameter dialogs share.

#include "serial/latin1.h"

class QLabel;
class QWidget;

// The message line under the fields: red text, its height kept when empty so the dialog
// does not jump while the user types.
QLabel* newMessageLine(QWidget* parent);
