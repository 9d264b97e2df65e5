#include "commands_frame.h"

#include "action_button.h"
#include "command_box_actions.h"
#include "command_editor.h"
#include "dialogs/ask_data_rules.h"

#include <QAction>
#include <QFont>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kButtonHeight = 18;
constexpr int kSpacing = 2;

} // namespace

TCommandsFrame::TCommandsFrame(CommandEditor& editor, UserDialogs& dialogs,
                               ParameterDialogs& parameters, QWidget* parent)
    : QWidget(parent),
      m_editor(&editor),
      m_routines(editor.box(), parameters, dialogs, m_defaults),
      m_router(m_routines)
{
    setObjectName(QStringLiteral("CommandsFrame"));
    setFont(QFont(QStringLiteral("MS Sans Serif"), 8));
    m_defaults.fill();
    for (lmx::BlockKind kind : lmx::kBlockKinds) {
        const ParamLimits& l = m_defaults[blockNumber(kind)];
        editor.blocks().setNumberLimits(kind, {l.maximum, l.defaultValue, l.minimum});
    }
    editor.setCommandEditHook(&m_router);
    connect(&editor, &CommandEditor::forcePacketRequested, this, &TCommandsFrame::ForcePacketClick);
    connect(&editor, &CommandEditor::newPacketRequested, this, &TCommandsFrame::NewPacketClick);

    LmxCommandsGroup = new QGroupBox(QStringLiteral("LMX Commands"), this);
    LmxCommandsGroup->setObjectName(QStringLiteral("LmxCommandsGroup"));
    XLmxCommandsGroup = new QGroupBox(QStringLiteral("Extended LMX Commands"), this);
    XLmxCommandsGroup->setObjectName(QStringLiteral("XLmxCommandsGroup"));

    QWidget* g = LmxCommandsGroup;
    Com_Sep = button("Com_Sep", "SE&P", &TCommandsFrame::Com_SepClick, g);
    PlainTxt_But = button("PlainTxt_But", "Plain Te&xt", &TCommandsFrame::PlainTxt_ButClick, g);
    EditHex_But = button("EditHex_But", "Edit He&x", &TCommandsFrame::EditHex_ButClick, g);
    Com_Font = button("Com_Font", "Fon&t", &TCommandsFrame::Com_FontClick, g);
    Com_Col = button("Com_Col", "&Color", &TCommandsFrame::Com_ColClick, g);
    Com_Flash = button("Com_Flash", "Fl&ash", &TCommandsFrame::Com_FlashClick, g);
    Com_HorSize = button("Com_HorSize", "Hor. S&ize", &TCommandsFrame::Com_HorSizeClick, g);
    Com_VertSize = button("Com_VertSize", "&Vert. Size", &TCommandsFrame::Com_VertSizeClick, g);
    Com_OutLine = button("Com_OutLine", "&OutLine", &TCommandsFrame::Com_OutLineClick, g);
    Com_Enable = button("Com_Enable", "E&nable", &TCommandsFrame::Com_EnableClick, g);
    Com_HorPos = button("Com_HorPos", "Ho&r. Position", &TCommandsFrame::Com_HorPosClick, g);
    Com_VertPos = button("Com_VertPos", "Vert. Pos&ition", &TCommandsFrame::Com_VertPosClick, g);
    Com_Sound = button("Com_Sound", "S&ound", &TCommandsFrame::Com_SoundClick, g);
    Com_Disappear = button("Com_Disappear", "D&isappear", &TCommandsFrame::Com_DisappearClick, g);
    Com_Appear = button("Com_Appear", "Appea&r", &TCommandsFrame::Com_AppearClick, g);
    Com_Pause = button("Com_Pause", "Pa&use", &TCommandsFrame::Com_PauseClick, g);
    Com_Brightness = button("Com_Brightness", "&Brightness", &TCommandsFrame::Com_BrightnessClick, g);
    Com_WatchDog = button("Com_WatchDog", "&WatchDog", &TCommandsFrame::Com_WatchDogClick, g);
    Com_ConfDisp = button("Com_ConfDisp", "Co&nf. Display", &TCommandsFrame::Com_ConfDispClick, g);
    Com_TimeDate = button("Com_TimeDate", "Time &/ Date", &TCommandsFrame::Com_TimeDateClick, g);
    Com_Del = button("Com_Del", "&Delete", &TCommandsFrame::Com_DelClick, g);

    QWidget* x = XLmxCommandsGroup;
    Com_Inq1 = button("Com_Inq1", "Inquiry &1", &TCommandsFrame::Com_Inq1Click, x);
    Com_Inq2 = button("Com_Inq2", "Inquiry &2", &TCommandsFrame::Com_Inq2Click, x);
    Com_Inq3 = button("Com_Inq3", "Inquiry &3", &TCommandsFrame::Com_Inq3Click, x);
    Com_Inq4 = button("Com_Inq4", "Inquiry &4", &TCommandsFrame::Com_Inq4Click, x);
    Com_LedTest = button("Com_LedTest", "Conf. &LedTest", &TCommandsFrame::Com_LedTestClick, x);

    layOut();
}

TCommandsFrame::~TCommandsFrame()
{
    if (m_editor)
        m_editor->setCommandEditHook(nullptr);
}

QPushButton* TCommandsFrame::button(const char* name, const char* caption,
                                    void (TCommandsFrame::*handler)(), QWidget* group)
{
    auto* b = new QPushButton(QString::fromLatin1(caption), group);
    b->setObjectName(QString::fromLatin1(name));
    // A click leaves the focus (and so the selection) in the command box.
    b->setFocusPolicy(Qt::TabFocus);
    b->setAutoDefault(false);
    b->setFixedHeight(kButtonHeight);
    b->setMinimumWidth(b->fontMetrics().horizontalAdvance(b->text().remove(QLatin1Char('&'))) + 12);
    b->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    connect(b, &QPushButton::clicked, this, handler);
    return b;
}

void TCommandsFrame::layOut()
{
    // "LMX Commands" in the order of the command table, six to a row; "Extended LMX Commands"
    // as one row below it, so the frame stays narrow enough to stand beside the transmit
    // frame.
    auto* grid = new QGridLayout(LmxCommandsGroup);
    grid->setContentsMargins(4, 0, 4, 3);
    grid->setSpacing(kSpacing);
    const QList<QPushButton*> lmx = buttons().mid(0, 21);
    constexpr int kColumns = 6;
    for (int i = 0; i < lmx.size(); ++i)
        grid->addWidget(lmx[i], i / kColumns, i % kColumns);
    for (int c = 0; c < kColumns; ++c)
        grid->setColumnStretch(c, 1);

    auto* row = new QHBoxLayout(XLmxCommandsGroup);
    row->setContentsMargins(4, 0, 4, 3);
    row->setSpacing(kSpacing);
    for (QPushButton* b : {Com_Inq1, Com_Inq2, Com_Inq3, Com_Inq4, Com_LedTest})
        row->addWidget(b);

    auto* column = new QVBoxLayout(this);
    column->setContentsMargins(0, 0, 0, 0);
    column->setSpacing(kSpacing);
    column->addWidget(LmxCommandsGroup);
    column->addWidget(XLmxCommandsGroup);
    column->addStretch(1);
}

QList<QPushButton*> TCommandsFrame::buttons() const
{
    return {Com_Sep, PlainTxt_But, EditHex_But, Com_Font, Com_Col, Com_Flash, Com_HorSize,
            Com_VertSize, Com_OutLine, Com_Enable, Com_HorPos, Com_VertPos, Com_Sound,
            Com_Disappear, Com_Appear, Com_Pause, Com_Brightness, Com_WatchDog, Com_ConfDisp,
            Com_TimeDate, Com_Del, Com_Inq1, Com_Inq2, Com_Inq3, Com_Inq4, Com_LedTest};
}

void TCommandsFrame::SetExtendedLmx(bool on)
{
    m_extendedLmx = on;
    XLmxCommandsGroup->setVisible(on);
    if (m_editor)
        m_editor->setExtendedLmx(on);
}

ActionButton* TCommandsFrame::makeForcePacketButton(QWidget* parent)
{
    if (!m_editor)
        return nullptr;
    auto* b = new ActionButton(m_editor->actions().DoForcePacket, QStringLiteral("FPACK"), parent);
    b->setObjectName(QStringLiteral("FPACK_Button"));
    b->setToolTip(QStringLiteral("Increase the Packet number."));
    return b;
}

ActionButton* TCommandsFrame::makeNewPacketButton(QWidget* parent)
{
    if (!m_editor)
        return nullptr;
    auto* b = new ActionButton(m_editor->actions().DoNewPacket, QStringLiteral("NPACK"), parent);
    b->setObjectName(QStringLiteral("NPACK_Button"));
    b->setToolTip(m_editor->actions().DoNewPacket->toolTip());
    return b;
}

void TCommandsFrame::oneParameter(uint8_t code)
{
    const OneParameterCommand* c = CommandRoutines::oneParameterCommand(code);
    m_routines.OneParameter(code, hexAskMode(c->digits, false));
}

void TCommandsFrame::Com_SepClick() { m_routines.Separator(); }
void TCommandsFrame::Com_DelClick() { m_routines.Delete(); }
void TCommandsFrame::PlainTxt_ButClick() { m_routines.PlainText(AskMode::InsertText); }
void TCommandsFrame::EditHex_ButClick() { m_routines.HexData(RoutineMode::InsertMode); }
void TCommandsFrame::Com_FontClick() { oneParameter(lmx::esc::Font); }
void TCommandsFrame::Com_ColClick() { oneParameter(lmx::esc::Color); }
void TCommandsFrame::Com_HorSizeClick() { oneParameter(lmx::esc::HorSize); }
void TCommandsFrame::Com_VertSizeClick() { oneParameter(lmx::esc::VertSize); }
void TCommandsFrame::Com_OutLineClick() { oneParameter(lmx::esc::OutLine); }
void TCommandsFrame::Com_FlashClick() { oneParameter(lmx::esc::Flash); }
void TCommandsFrame::Com_EnableClick() { oneParameter(lmx::esc::Enable); }
void TCommandsFrame::Com_AppearClick() { oneParameter(lmx::esc::Appear); }
void TCommandsFrame::Com_DisappearClick() { oneParameter(lmx::esc::DisAppear); }
void TCommandsFrame::Com_PauseClick() { oneParameter(lmx::esc::Pause); }
void TCommandsFrame::Com_SoundClick() { oneParameter(lmx::esc::Sound); }
void TCommandsFrame::Com_VertPosClick() { oneParameter(lmx::esc::VertPos); }
void TCommandsFrame::Com_HorPosClick() { oneParameter(lmx::esc::HorPos); }
void TCommandsFrame::Com_BrightnessClick() { m_routines.Brightness(RoutineMode::InsertMode); }
void TCommandsFrame::Com_ConfDispClick() { m_routines.ConfDisplay(RoutineMode::InsertMode); }
void TCommandsFrame::Com_TimeDateClick() { m_routines.TimeDate(RoutineMode::InsertMode); }
void TCommandsFrame::Com_WatchDogClick() { m_routines.WatchDog(RoutineMode::InsertMode); }
void TCommandsFrame::Com_LedTestClick() { m_routines.LedTest(RoutineMode::InsertMode); }
void TCommandsFrame::Com_Inq1Click() { m_routines.Inquiry(1); }
void TCommandsFrame::Com_Inq2Click() { m_routines.Inquiry(2); }
void TCommandsFrame::Com_Inq3Click() { m_routines.Inquiry(3); }
void TCommandsFrame::Com_Inq4Click() { m_routines.Inquiry(4); }
void TCommandsFrame::ForcePacketClick() { m_routines.ForcePacket(RoutineMode::InsertMode); }
void TCommandsFrame::NewPacketClick() { m_routines.NewPacket(RoutineMode::InsertMode); }
