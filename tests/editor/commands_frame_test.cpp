#include "commands_support.h"
#include "dialog_test_support.h"

#include "editor/action_button.h"
#include "editor/command_box_actions.h"
#include "editor/command_editor.h"
#include "editor/commands_frame.h"
#include "widgets/ovel_list_box.h"

#include <QAction>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <optional>

using SPD = ScriptedParameterDialogs;

namespace {

class CommandsFrameTest : public ::testing::Test {
protected:
    ScriptedDialogs user;
    ScriptedParameterDialogs params;
    QWidget host;
    CommandEditor editor{user, params, &host};
    TCommandsFrame* frame = new TCommandsFrame(editor, user, params, &host);
    ActionButton* fpack = frame->makeForcePacketButton(&host);
    ActionButton* npack = frame->makeNewPacketButton(&host);

    void SetUp() override
    {
        auto* layout = new QHBoxLayout(&host);
        layout->addWidget(editor.commandBox());
        layout->addWidget(fpack);
        layout->addWidget(npack);
        layout->addWidget(frame);
        frame->setFixedSize(TCommandsFrame::kWidth, TCommandsFrame::kHeight);
        host.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&host));
    }

    const CommandBoxLine& line() { return editor.box().cursorLine(); }
    void click(QPushButton* b) { QTest::mouseClick(b, Qt::LeftButton); }
    // The title or caption the last parameter dialog was opened with.
    std::string lastTitle() const
    {
        const std::string& kind = params.calls().back();
        if (kind == "AskValue")
            return params.askValueCalls().back().caption;
        if (kind == "AskFields")
            return params.fieldsCalls().back().first;
        if (kind == "AskTriple")
            return params.tripleCalls().back()[0].Header;
        if (kind == "AskDouble")
            return params.doubleCalls().back()[0].Header;
        if (kind == "AskSingle")
            return params.singleCalls().back().Header;
        if (kind == "AskBrightness")
            return params.brightnessCalls().back().Header;
        return params.hexCalls().back().Header;
    }
};

struct ButtonCase {
    QPushButton* TCommandsFrame::*button;
    std::optional<SPD::Reply> reply; // none: the button opens no dialog
    const char* title;
    const char* hex;
    const char* display;
    bool editable = true;
};

} // namespace

// Every button once with its dialog answered; the line it inserts is the table's, and Edit
// Data on that line with Ok unchanged gives it back.
TEST_F(CommandsFrameTest, EveryButtonInsertsItsLineAndEditsBack)
{
    const ButtonCase cases[] = {
        {&TCommandsFrame::Com_Sep, {}, "", "1E", "SEP", false},
        {&TCommandsFrame::PlainTxt_But, SPD::type({"Hi"}), "CommandBox: Type Your Text.", "48 69", "'Hi'"},
        {&TCommandsFrame::EditHex_But, SPD::type({"22 33 23 aa af ff"}), "Insert Hexadecimal Data",
         "10 22 33 23 AA AF FF", "HEX '22 33 23 AA AF FF'"},
        {&TCommandsFrame::Com_Font, SPD::type({"5"}), "Hex. Font number", "1B A0 35", "ESC Font '5'"},
        {&TCommandsFrame::Com_Col, SPD::type({"3"}), "Hex. Color number", "1B A1 33", "ESC Color '3'"},
        {&TCommandsFrame::Com_Flash, SPD::type({"0"}), "Hex. Flash On/Off", "1B A4 30", "ESC Flash '0'"},
        {&TCommandsFrame::Com_HorSize, SPD::type({"f"}), "Hex. Horizontal Size", "1B A2 46", "ESC Hor.Size 'F'"},
        {&TCommandsFrame::Com_VertSize, SPD::type({"2"}), "Hex. Vertical Size", "1B A7 32", "ESC Vert.Size '2'"},
        {&TCommandsFrame::Com_OutLine, SPD::type({"2"}), "Hex. OutLine Number", "1B A3 32", "ESC OutLine '2'"},
        {&TCommandsFrame::Com_Enable, SPD::type({"7"}), "Hex. Enable Number", "1B A5 37", "ESC Enable '7'"},
        {&TCommandsFrame::Com_HorPos, SPD::type({"FFF"}), "Hex. Horizontal Position ",
         "1B E2 46 46 46 0C", "ESC Hor. Pos. 'FFF' EOC"},
        {&TCommandsFrame::Com_VertPos, SPD::type({"80"}), "Hex. Vertical Position ", "1B C4 38 30",
         "ESC Vert. Pos. '80'"},
        {&TCommandsFrame::Com_Sound, SPD::type({"FF"}), "Hex. Sound ", "1B C7 46 46", "ESC Sound 'FF'"},
        {&TCommandsFrame::Com_Disappear, SPD::type({"99"}), "Hex. DisAppear Number", "1B C1 39 39",
         "ESC DisAppear '99'"},
        {&TCommandsFrame::Com_Appear, SPD::type({"12"}), "Hex. Appear Number", "1B C0 31 32",
         "ESC Appear '12'"},
        {&TCommandsFrame::Com_Pause, SPD::type({"0A"}), "Hex. Pause ", "1B C6 30 41", "ESC Pause '0A'"},
        {&TCommandsFrame::Com_Brightness, SPD::ok(), "BrightNess Table (in percentages)",
         "1B E0 33 34 35 36 37 38 39 41 42 43 44 45 46 46 46 46 0C",
         "ESC BTable '3456789ABCDEFFFF' EOC"},
        {&TCommandsFrame::Com_WatchDog, SPD::type({"01", "02", "03"}), "WatchDog (All in Hex)",
         "1B E1 30 31 30 32 30 33 0C", "ESC WatchDog '010203' EOC"},
        {&TCommandsFrame::Com_ConfDisp, SPD::ok(), "Configure Display (All in Hex)",
         "1B E4 30 31 30 38 30 38 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 30 "
         "30 30 30 30 30 30 30 0C",
         "ESC Conf.Display '0108080000000000000000000000000000' EOC"},
        {&TCommandsFrame::Com_TimeDate, SPD::type({"24", "12", "31", "23", "59", "58"}),
         "Configure Time And Date (All in Dec)", "1B E6 32 34 31 32 33 31 32 33 35 39 35 38 0C",
         "ESC Time/Date '241231235958' EOC"},
        {&TCommandsFrame::Com_Del, {}, "", "1B 80", "ESC Delete", false},
        {&TCommandsFrame::Com_Inq1, {}, "", "1B A6 31", "ESC Inquiry1", false},
        {&TCommandsFrame::Com_Inq2, {}, "", "1B A6 32", "ESC Inquiry2", false},
        {&TCommandsFrame::Com_Inq3, {}, "", "1B A6 33", "ESC Inquiry3", false},
        {&TCommandsFrame::Com_Inq4, {}, "", "1B A6 34", "ESC Inquiry4", false},
        {&TCommandsFrame::Com_LedTest, SPD::type({"12", "30"}), "Configure Led Test (All in Dec)",
         "1B E5 31 32 33 30 0C", "ESC LedTest '1230' EOC"},
    };
    ASSERT_EQ(std::size(cases), static_cast<size_t>(frame->buttons().size()));
    for (const ButtonCase& c : cases) {
        QPushButton* b = frame->*c.button;
        SCOPED_TRACE(b->objectName().toStdString());
        const size_t dialogs = params.calls().size();
        if (c.reply)
            params.setNextReply(*c.reply);
        if (b == frame->Com_Brightness)
            user.setNextAnswer(UserDialogs::Answer::No);
        const int before = editor.box().list().count();
        click(b);
        ASSERT_EQ(editor.box().list().count(), before + 1);
        EXPECT_EQ(hexOf(line().commandLine()), c.hex);
        EXPECT_EQ(line().displayText, c.display);
        ASSERT_EQ(params.calls().size(), dialogs + (c.reply ? 1 : 0));
        if (c.reply) {
            EXPECT_EQ(lastTitle(), c.title);
        }

        // Edit Data, Ok unchanged.
        editor.updateActions();
        EXPECT_EQ(editor.actions().DoEditData->isEnabled(), c.editable);
        if (!c.editable)
            continue;
        params.setNextReply(SPD::ok());
        const CommandBoxLine inserted = line();
        editor.actions().DoEditData->trigger();
        EXPECT_EQ(params.calls().size(), dialogs + 2);
        EXPECT_EQ(line(), inserted);
        EXPECT_EQ(editor.box().list().count(), before + 1);
    }
    EXPECT_EQ(params.refused(), 0);
    EXPECT_EQ(params.unexpected(), 0);
    EXPECT_EQ(user.unexpected(), 0);
}

TEST_F(CommandsFrameTest, PacketBreaksOnlyWithTheExtendedProtocol)
{
    params.setNextReply(SPD::ok());
    click(fpack);
    EXPECT_EQ(line().displayText, "FPACK '05000'");
    params.setNextReply(SPD::type({"250"}));
    click(npack);
    EXPECT_EQ(hexOf(line().commandLine()), "08 30 30 32 35 30");
    params.setNextReply(SPD::ok()); // Edit Data keeps the wait
    editor.actions().DoEditData->trigger();
    EXPECT_EQ(params.singleCalls().back().CurrentValue, 250);
    EXPECT_EQ(line().displayText, "NPACK '00250'");
    EXPECT_EQ(fpack->toolTip(), "Increase the Packet number.");
    EXPECT_EQ(fpack->text(), "FPACK");

    frame->SetExtendedLmx(false);
    EXPECT_FALSE(frame->XLmxCommandsGroup->isVisible());
    EXPECT_TRUE(frame->LmxCommandsGroup->isVisible());
    EXPECT_FALSE(editor.actions().DoForcePacket->isEnabled());
    EXPECT_FALSE(fpack->isEnabled());
    EXPECT_FALSE(npack->isEnabled());
    const int count = editor.box().list().count();
    click(fpack);
    EXPECT_EQ(editor.box().list().count(), count);

    frame->SetExtendedLmx(true);
    EXPECT_TRUE(frame->XLmxCommandsGroup->isVisible());
    EXPECT_TRUE(npack->isEnabled());
    EXPECT_EQ(params.unexpected(), 0);
}

// The frame keeps to the room the main window gives it, with every caption readable.
TEST_F(CommandsFrameTest, EveryCaptionFitsTheFrame)
{
    const QSize needed = frame->minimumSizeHint();
    EXPECT_LE(needed.width(), TCommandsFrame::kWidth);
    EXPECT_LE(needed.height(), TCommandsFrame::kHeight);
    QCoreApplication::processEvents();
    const QRect room(QPoint(0, 0), frame->size());
    for (QPushButton* b : frame->buttons()) {
        SCOPED_TRACE(b->text().toStdString());
        const QString caption = b->text().remove(QLatin1Char('&'));
        EXPECT_GE(b->width(), b->fontMetrics().horizontalAdvance(caption) + 4);
        EXPECT_GE(b->height(), b->fontMetrics().height());
        EXPECT_TRUE(room.contains(QRect(b->mapTo(frame, QPoint(0, 0)), b->size())));
    }
    // The block routines take their number limits from the same table.
    EXPECT_EQ(editor.blocks().numberLimits(lmx::BlockKind::Page).maximum, 100);
    EXPECT_EQ(frame->ParamDefaults()[Param::Wait].defaultValue, 5000);
}

TEST_F(CommandsFrameTest, AcceleratorRunsTheButton)
{
    host.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&host));
    editor.commandBox()->setFocus();
    params.setNextReply(SPD::ok());
    QTest::keyClick(editor.commandBox(), Qt::Key_T, Qt::AltModifier); // "Fon&t"
    // A mnemonic clicks the button the way a mouse would, after a short press.
    EXPECT_TRUE(QTest::qWaitFor([&] { return line().displayText == "ESC Font '1'"; }, 5000));
    EXPECT_TRUE(editor.commandBox()->hasFocus());
}
