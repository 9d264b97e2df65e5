#pragma once
// The general settings dialog: the nine switches of the general record, whether failed answers
// open message boxes, and the capture folder. OK stores all of them (unless the folder is
// refused); Cancel stores nothing. The dialog never applies the record (the caller does).

#include "files/settings.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QPushButton;
class QRadioButton;
class UserDialogs;

namespace lmx {

class CaptureFolderBox;

class TGeneralSettForm : public QDialog {
    Q_OBJECT

public:
    explicit TGeneralSettForm(TGeneralSettings& record, QWidget* parent = nullptr);
    // With `dialogs` the capture folder can be chosen in a folder dialog.
    TGeneralSettForm(TGeneralSettings& record, UserDialogs* dialogs, QWidget* parent = nullptr);

    QGroupBox* GeneralGroup() const { return m_generalGroup; }
    QGroupBox* DebugGroup() const { return m_debugGroup; }
    QCheckBox* ShowToolBarCheck() const { return m_showToolBar; }
    QCheckBox* FileReplaceCheck() const { return m_fileReplace; }
    QCheckBox* ExtendedLmxCheck() const { return m_extendedLmx; }
    QCheckBox* SaveKeysCheck() const { return m_saveKeys; }
    QCheckBox* ClearKeysCheck() const { return m_clearKeys; }
    QCheckBox* AnswerBoxesCheck() const { return m_answerBoxes; }
    QCheckBox* SerialDebugCheck() const { return m_serialDebug; }
    QCheckBox* DebugFileCheck() const { return m_debugFile; }
    QRadioButton* CreateDebugFileRadio() const { return m_createDebugFile; }
    QRadioButton* AppendDebugFileRadio() const { return m_appendDebugFile; }
    CaptureFolderBox* CaptureBox() const { return m_captureBox; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }

    void OkButtonClick();

private:
    void DebugFileCheckClick();

    TGeneralSettings& m_record;
    QGroupBox* m_generalGroup = nullptr;
    QGroupBox* m_debugGroup = nullptr;
    QCheckBox* m_showToolBar = nullptr;
    QCheckBox* m_fileReplace = nullptr;
    QCheckBox* m_extendedLmx = nullptr;
    QCheckBox* m_saveKeys = nullptr;
    QCheckBox* m_clearKeys = nullptr;
    QCheckBox* m_answerBoxes = nullptr;
    QCheckBox* m_serialDebug = nullptr;
    QCheckBox* m_debugFile = nullptr;
    QRadioButton* m_createDebugFile = nullptr;
    QRadioButton* m_appendDebugFile = nullptr;
    CaptureFolderBox* m_captureBox = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

} // namespace lmx
