#pragma once
// Small helpers the parameter dialogs share.

#include <QString>

#include <string>

class QLabel;
class QWidget;

inline QString latin1(const std::string& text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The message line under the fields: red text, its height kept when empty so the dialog
// does not jump while the user types.
QLabel* newMessageLine(QWidget* parent);
