#include "commands_support.h"

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
        const std::string& k = params.calls().back();
        return k == "AskValue"        ? params.askValueCalls().back().caption
               : k == "AskFields"     ? params.fieldsCalls().back().first
               : k == "AskTriple"     ? params.tripleCalls().back()[0].Header
               : k == "AskDouble"     ? params.doubleCalls().back()[0].Header
               : k == "AskBrightness" ? params.brightnessCalls().back().Header
                                      : params.hexCalls().back().Header;
    }
};

struct ButtonCase {
    QPushButton* TCommandsFrame::*button;
    std::optional<SPD::Reply> reply; // none: the button opens no dialog
    const char* title;
    std::string line;
    const char* display;
    bool editable = true;
};

} // namespace

// Every button once with its dialog answered; the line it inserts is the table's, and Edit
// Data on that line with Ok unchanged gives it back.
TEST_F(CommandsFrameTest, EveryButtonInsertsItsLineAndEditsBack)
{
    using F = TCommandsFrame;
    const ButtonCase cases[] = {
        {&F::Com_Sep, {}, "", "\x1E", "SEP", false},
        {&F::PlainTxt_But, SPD::type({"Hi"}), "CommandBox: Type Your Text.", "Hi", "'Hi'"},
        {&F::EditHex_But, SPD::type({"22 33 aa"}), "Insert Hexadecimal Data", "\x10\x22\x33\xAA",
         "HEX '22 33 AA'"},
        {&F::Com_Font, SPD::type({"5"}), "Hex. Font number", "\x1B\xA0" "5", "ESC Font '5'"},
        {&F::Com_Col, SPD::type({"3"}), "Hex. Color number", "\x1B\xA1" "3", "ESC Color '3'"},
        {&F::Com_Flash, SPD::type({"0"}), "Hex. Flash On/Off", "\x1B\xA4" "0", "ESC Flash '0'"},
        {&F::Com_HorSize, SPD::type({"f"}), "Hex. Horizontal Size", "\x1B\xA2" "F", "ESC Hor.Size 'F'"},
        {&F::Com_VertSize, SPD::type({"2"}), "Hex. Vertical Size", "\x1B\xA7" "2", "ESC Vert.Size '2'"},
        {&F::Com_OutLine, SPD::type({"2"}), "Hex. OutLine Number", "\x1B\xA3" "2", "ESC OutLine '2'"},
        {&F::Com_Enable, SPD::type({"7"}), "Hex. Enable Number", "\x1B\xA5" "7", "ESC Enable '7'"},
        {&F::Com_HorPos, SPD::type({"FFF"}), "Hex. Horizontal Position ", "\x1B\xE2" "FFF\x0C",
         "ESC Hor. Pos. 'FFF' EOC"},
        {&F::Com_VertPos, SPD::type({"80"}), "Hex. Vertical Position ", "\x1B\xC4" "80", "ESC Vert. Pos. '80'"},
        {&F::Com_Sound, SPD::type({"FF"}), "Hex. Sound ", "\x1B\xC7" "FF", "ESC Sound 'FF'"},
        {&F::Com_Disappear, SPD::type({"99"}), "Hex. DisAppear Number", "\x1B\xC1" "99", "ESC DisAppear '99'"},
        {&F::Com_Appear, SPD::type({"12"}), "Hex. Appear Number", "\x1B\xC0" "12", "ESC Appear '12'"},
        {&F::Com_Pause, SPD::type({"0A"}), "Hex. Pause ", "\x1B\xC6" "0A", "ESC Pause '0A'"},
        {&F::Com_Brightness, SPD::ok(), "BrightNess Table (in percentages)",
         "\x1B\xE0" "3456789ABCDEFFFF\x0C", "ESC BTable '3456789ABCDEFFFF' EOC"},
        {&F::Com_WatchDog, SPD::type({"01", "02", "03"}), "WatchDog (All in Hex)",
         "\x1B\xE1" "010203\x0C", "ESC WatchDog '010203' EOC"},
        {&F::Com_ConfDisp, SPD::ok(), "Configure Display (All in Hex)",
         "\x1B\xE4" "0108080000000000000000000000000000\x0C",
         "ESC Conf.Display '0108080000000000000000000000000000' EOC"},
        {&F::Com_TimeDate, SPD::type({"24", "12", "31", "23", "59", "58"}),
         "Configure Time And Date (All in Dec)", "\x1B\xE6" "241231235958\x0C",
         "ESC Time/Date '241231235958' EOC"},
        {&F::Com_Del, {}, "", "\x1B\x80", "ESC Delete", false},
        {&F::Com_Inq1, {}, "", "\x1B\xA6" "1", "ESC Inquiry1", false},
        {&F::Com_Inq2, {}, "", "\x1B\xA6" "2", "ESC Inquiry2", false},
        {&F::Com_Inq3, {}, "", "\x1B\xA6" "3", "ESC Inquiry3", false},
        {&F::Com_Inq4, {}, "", "\x1B\xA6" "4", "ESC Inquiry4", false},
        {&F::Com_LedTest, SPD::type({"12", "30"}), "Configure Led Test (All in Dec)",
         "\x1B\xE5" "1230\x0C", "ESC LedTest '1230' EOC"},
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
        EXPECT_EQ(hexOf(line().commandLine()), hexOf(c.line));
        EXPECT_EQ(line().displayText, c.display);
        ASSERT_EQ(params.calls().size(), dialogs + (c.reply ? 1 : 0));
        EXPECT_EQ(c.reply ? lastTitle() : "", c.title);

        editor.updateActions();
        EXPECT_EQ(editor.actions().DoEditData->isEnabled(), c.editable);
        if (!c.editable)
            continue;
        params.setNextReply(SPD::ok());
        const CommandBoxLine inserted = line();
        editor.actions().DoEditData->trigger();
        EXPECT_EQ(params.calls().size(), dialogs + 2);
        EXPECT_EQ(line(), inserted);
    }
    EXPECT_EQ(params.refused() + params.unexpected() + user.unexpected(), 0);
}

// The frame keeps to the room the main window gives it, with every caption readable; the packet
// breaks work only with the extended protocol.
TEST_F(CommandsFrameTest, EveryCaptionFitsTheFrameAndPacketBreaksNeedTheExtendedProtocol)
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
    EXPECT_EQ(editor.blocks().numberLimits(lmx::BlockKind::Page).maximum, 100);

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

    frame->SetExtendedLmx(false);
    EXPECT_FALSE(frame->XLmxCommandsGroup->isVisible());
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
