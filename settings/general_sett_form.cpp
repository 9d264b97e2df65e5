#include "general_sett_form.h"

#include "capture_folder_box.h"
#include "widgets/dialog_buttons.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QCoreApplication>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace lmx {

namespace {

QCheckBox* checkBox(const QString& caption, const QString& name, bool checked, QWidget* group)
{
    auto* box = new QCheckBox(caption, group);
    box->setObjectName(name);
    box->setChecked(checked);
    return box;
}

} // namespace

TGeneralSettForm::TGeneralSettForm(TGeneralSettings& record, QWidget* parent)
    : TGeneralSettForm(record, nullptr, parent)
{
}

TGeneralSettForm::TGeneralSettForm(TGeneralSettings& record, UserDialogs* dialogs,
                                   QWidget* parent)
    : QDialog(parent), m_record(record)
{
    setWindowTitle(QCoreApplication::applicationName() + QStringLiteral("  General Settings"));

    m_generalGroup = new QGroupBox(QStringLiteral("General"), this);
    m_generalGroup->setObjectName(QStringLiteral("GeneralGroup"));
    QWidget* g = m_generalGroup;
    struct Switch {
        QCheckBox*& box;
        const char* caption;
        const char* name;
        bool checked;
    };
    for (const Switch& s : {Switch{m_showToolBar, "Show Main ToolBar", "ShowToolBarCheck",
                                   record.ShowMainToolBar},
                            Switch{m_fileReplace, "Confirm File Replace", "FileReplaceCheck",
                                   record.CheckFileReplace},
                            Switch{m_extendedLmx, "Extended LMX", "ExtendedLmxCheck",
                                   record.ExtendedLmx},
                            Switch{m_saveKeys, "Save Keys In LMX File", "SaveKeysCheck",
                                   record.SaveKeys},
                            Switch{m_clearKeys, "Clear Keylist When Loading LMX File",
                                   "ClearKeysCheck", record.ClearKeys},
                            Switch{m_answerBoxes, "Show failed answers in message boxes",
                                   "AnswerBoxesCheck", record.ShowAnswerBoxes}})
        s.box = checkBox(QString::fromLatin1(s.caption), QString::fromLatin1(s.name), s.checked, g);
    m_saveKeys->setToolTip(QStringLiteral("Keys are saved when they are used in the Command Editor !!"));
    m_answerBoxes->setToolTip(QStringLiteral(
            "Off: a failed answer is told in the receive box, the status bar and the Packets tab,\n"
            "and the transmission goes on without waiting for OK."));
    auto* general = new QVBoxLayout(m_generalGroup);
    for (QCheckBox* box :
         {m_showToolBar, m_fileReplace, m_extendedLmx, m_saveKeys, m_clearKeys, m_answerBoxes})
        general->addWidget(box);

    m_debugGroup = new QGroupBox(QStringLiteral("Debug Settings"), this);
    m_debugGroup->setObjectName(QStringLiteral("DebugGroup"));
    QWidget* d = m_debugGroup;
    m_serialDebug = checkBox(QStringLiteral("Show Serial Debug"), QStringLiteral("SerialDebugCheck"),
                             record.ShowSerialDebug, d);
    m_debugFile = checkBox(QStringLiteral("Save Serial Debug to File"),
                           QStringLiteral("DebugFileCheck"), record.DebugFile, d);
    m_createDebugFile = new QRadioButton(
            QStringLiteral("Create New File On Transmission (Old File Will Be Lost)"), d);
    m_createDebugFile->setObjectName(QStringLiteral("CreateDebugFileRadio"));
    m_appendDebugFile = new QRadioButton(QStringLiteral("Append To Exsisting Debug File"), d);
    m_appendDebugFile->setObjectName(QStringLiteral("AppendDebugFileRadio"));
    // Each radio button shows its own field; a record with both fields off shows neither.
    auto* pair = new QButtonGroup(this);
    pair->addButton(m_createDebugFile);
    pair->addButton(m_appendDebugFile);
    m_createDebugFile->setChecked(record.CreateDebugFile);
    m_appendDebugFile->setChecked(record.AppendDebugFile && !record.CreateDebugFile);
    auto* debug = new QVBoxLayout(m_debugGroup);
    debug->addWidget(m_serialDebug);
    debug->addWidget(m_debugFile);
    for (QRadioButton* radio : {m_createDebugFile, m_appendDebugFile}) {
        auto* row = new QHBoxLayout;
        row->addSpacing(18);
        row->addWidget(radio);
        debug->addLayout(row);
    }

    m_captureBox = new CaptureFolderBox(record.CaptureFolder, dialogs, this);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_generalGroup);
    layout->addWidget(m_debugGroup);
    layout->addWidget(m_captureBox);
    layout->addWidget(okCancelButtons(this, QStringLiteral("OK"), m_ok, m_cancel));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_debugFile, &QCheckBox::toggled, this, &TGeneralSettForm::DebugFileCheckClick);
    connect(m_ok, &QPushButton::clicked, this, &TGeneralSettForm::OkButtonClick);
    DebugFileCheckClick();
}

void TGeneralSettForm::DebugFileCheckClick()
{
    const bool on = m_debugFile->isChecked();
    m_createDebugFile->setEnabled(on);
    m_appendDebugFile->setEnabled(on);
}

void TGeneralSettForm::OkButtonClick()
{
    const std::optional<std::string> captureFolder = m_captureBox->folder();
    if (!captureFolder)
        return; // refused: the box says why
    m_record.CaptureFolder = *captureFolder;
    m_record.ShowMainToolBar = m_showToolBar->isChecked();
    m_record.CheckFileReplace = m_fileReplace->isChecked();
    m_record.ShowSerialDebug = m_serialDebug->isChecked();
    m_record.ExtendedLmx = m_extendedLmx->isChecked();
    m_record.SaveKeys = m_saveKeys->isChecked();
    m_record.ClearKeys = m_clearKeys->isChecked();
    m_record.ShowAnswerBoxes = m_answerBoxes->isChecked();
    m_record.DebugFile = m_debugFile->isChecked();
    m_record.CreateDebugFile = m_createDebugFile->isChecked();
    m_record.AppendDebugFile = m_appendDebugFile->isChecked();
    accept();
}

} // namespace lmx
