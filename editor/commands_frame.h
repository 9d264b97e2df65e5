#pragma once
// The command buttons below the command box: the group "LMX Commands" with a button per
// command of the Lmx command set, and the group "Extended LMX Commands" (the inquiries and
// the LED test), shown only with the extended protocol. Each button runs its command routine
// in insert form. The frame also routes the command box's Edit Data to the replace forms,
// gives the block routines their number limits, and answers the command editor's Force
// Packet and New Packet actions.

#include "command_edit_router.h"
#include "command_routines.h"
#include "param_defaults.h"

#include <QPointer>
#include <QWidget>

class ActionButton;
class CommandEditor;
class ParameterDialogs;
class QGroupBox;
class QPushButton;
class UserDialogs;

class TCommandsFrame : public QWidget {
    Q_OBJECT
public:
    // The size the frame is laid out for.
    static constexpr int kWidth = 500;
    static constexpr int kHeight = 150;

    // Fills ParamDefaults and connects itself to the editor (Edit Data hook, block number
    // limits, Force Packet and New Packet).
    TCommandsFrame(CommandEditor& editor, UserDialogs& dialogs, ParameterDialogs& parameters,
                   QWidget* parent = nullptr);
    ~TCommandsFrame() override;

    const ParamDefaultsTable& ParamDefaults() const { return m_defaults; }
    CommandRoutines& routines() { return m_routines; }
    CommandEditHook& editHook() { return m_router; }

    // Shows or hides the extended group and makes Force Packet / New Packet available.
    void SetExtendedLmx(bool on);
    bool ExtendedLmx() const { return m_extendedLmx; }

    // The FPACK and NPACK buttons of the "Command Editor " group, on the editor's
    // DoForcePacket and DoNewPacket actions.
    ActionButton* makeForcePacketButton(QWidget* parent);
    ActionButton* makeNewPacketButton(QWidget* parent);

    // Every button of both groups, in the order of the command tables.
    QList<QPushButton*> buttons() const;

    QGroupBox* LmxCommandsGroup;
    QGroupBox* XLmxCommandsGroup;
    QPushButton* Com_Sep;
    QPushButton* PlainTxt_But;
    QPushButton* EditHex_But;
    QPushButton* Com_Font;
    QPushButton* Com_Col;
    QPushButton* Com_Flash;
    QPushButton* Com_HorSize;
    QPushButton* Com_VertSize;
    QPushButton* Com_OutLine;
    QPushButton* Com_Enable;
    QPushButton* Com_HorPos;
    QPushButton* Com_VertPos;
    QPushButton* Com_Sound;
    QPushButton* Com_Disappear;
    QPushButton* Com_Appear;
    QPushButton* Com_Pause;
    QPushButton* Com_Brightness;
    QPushButton* Com_WatchDog;
    QPushButton* Com_ConfDisp;
    QPushButton* Com_TimeDate;
    QPushButton* Com_Del;
    QPushButton* Com_Inq1;
    QPushButton* Com_Inq2;
    QPushButton* Com_Inq3;
    QPushButton* Com_Inq4;
    QPushButton* Com_LedTest;

    // The button handlers: each runs its routine in insert form.
    void Com_SepClick();
    void Com_DelClick();
    void PlainTxt_ButClick();
    void EditHex_ButClick();
    void Com_FontClick();
    void Com_ColClick();
    void Com_HorSizeClick();
    void Com_VertSizeClick();
    void Com_OutLineClick();
    void Com_FlashClick();
    void Com_EnableClick();
    void Com_AppearClick();
    void Com_DisappearClick();
    void Com_PauseClick();
    void Com_SoundClick();
    void Com_VertPosClick();
    void Com_HorPosClick();
    void Com_BrightnessClick();
    void Com_ConfDispClick();
    void Com_TimeDateClick();
    void Com_WatchDogClick();
    void Com_LedTestClick();
    void Com_Inq1Click();
    void Com_Inq2Click();
    void Com_Inq3Click();
    void Com_Inq4Click();
    void ForcePacketClick();
    void NewPacketClick();

private:
    QPushButton* button(const char* name, const char* caption, void (TCommandsFrame::*handler)(),
                        QWidget* group);
    void oneParameter(uint8_t code);
    void layOut();

    QPointer<CommandEditor> m_editor;
    ParamDefaultsTable m_defaults;
    CommandRoutines m_routines;
    CommandEditRouter m_router;
    bool m_extendedLmx = true;
};
