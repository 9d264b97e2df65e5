#pragma once
// Helpers for driving the dialogs without a modal loop: type into a field as a user would,
// press keys, and read what the dialog shows.

#include "dialogs/field_edit.h"

#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QLineEdit>
#include <QTest>

#include <string>

// Replaces the field's text by typing `keys` over a full selection.
inline void retype(QLineEdit* field, const QString& keys)
{
    field->selectAll();
    if (keys.isEmpty())
        QTest::keyClick(field, Qt::Key_Backspace);
    else
        QTest::keyClicks(field, keys);
}

inline std::string shown(const QLineEdit* field)
{
    return field->text().toStdString();
}

inline std::string shown(const QLabel* label)
{
    return label->text().toStdString();
}

// A dialog opened with show() (no modal loop) that the test closes itself.
inline void openWithoutLoop(QDialog& dialog)
{
    dialog.show();
    QCoreApplication::processEvents();
}
