#pragma once
// The Ok / Cancel row the settings and bus dialogs share.

#include <QDialogButtonBox>
#include <QString>

class QDialog;
class QPushButton;

// A button box with `okText` (each dialog keeps its own caption) as the default button and
// Cancel, which rejects the dialog. The caller connects Ok to its own step.
QDialogButtonBox* okCancelButtons(QDialog* dialog, const QString& okText, QPushButton*& ok,
                                  QPushButton*& cancel);
