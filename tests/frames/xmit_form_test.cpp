// The serial debug window, offscreen, fed by the packet exchange on a fake line.
#include "tests/port/serial_test_support.h"

#include "frames/xmit_form.h"
#include "port/debug_view_lines.h"
#include "tests/support/scripted_dialogs.h"
#include "tests/widgets/list_box_support.h"
#include "transmission/packet_exchange.h"

#include <QListWidget>
#include <QScrollBar>
#include <QTest>
#include <gtest/gtest.h>

using namespace lmx;
using namespace serialtest;

namespace {

class DebugWindow : public ::testing::Test, public FakeDriver {
protected:
    DebugWindow() : exchange(*driver, dialogs), window(exchange)
    {
        exchange.SetDebugView(true);
    }
    ScriptedDialogs dialogs;
    PacketExchange exchange;
    TXmitForm window;
};

QStringList linesOf(const QListWidget* list)
{
    return listboxtest::rowTexts(list->model());
}

} // namespace

TEST_F(DebugWindow, ShowsEachPacketAndChunkEightBytesALine)
{
    exchange.SendPacket("\x01" "01Hello" "\x04");
    EXPECT_EQ(linesOf(window.transmitCharList()), (QStringList{"\x01 0 1 H e l l o ", "\x04 "}));

    fake->arrive("ab\r");
    runPending();
    fake->arrive("c");
    runPending();
    // every chunk starts a line of its own; carriage return shows as 0xAC
    EXPECT_EQ(linesOf(window.receiveHexList()), (QStringList{"61 62 0D ", "63 "}));
    EXPECT_EQ(window.receiveCharList()->item(0)->text(),
              QString("a b ") + QChar(0xAC) + QChar(' '));

    // the next packet clears all four lists first
    fake->arrive("\x04");
    runPending();
    ASSERT_TRUE(exchange.done());
    exchange.SendPacket("xy");
    EXPECT_EQ(linesOf(window.transmitHexList()), QStringList{"78 79 "});
    EXPECT_EQ(window.receiveHexList()->count(), 0);
    EXPECT_EQ(window.receiveCharList()->count(), 0);
}

TEST_F(DebugWindow, TheTwoListsOfAPaneMoveTogether)
{
    window.resize(375, 300);
    window.show();
    window.showReceived(QByteArray(800, 'r'));
    QListWidget* hex = window.receiveHexList();
    QListWidget* chars = window.receiveCharList();
    hex->setCurrentRow(42);
    EXPECT_EQ(chars->currentRow(), 42);
    chars->setCurrentRow(7);
    EXPECT_EQ(hex->currentRow(), 7);
    chars->verticalScrollBar()->setValue(30);
    EXPECT_EQ(hex->verticalScrollBar()->value(), 30);
    hex->verticalScrollBar()->setValue(12);
    EXPECT_EQ(chars->verticalScrollBar()->value(), 12);
    // a click in one list selects the same line in the other
    QTest::mouseClick(chars->viewport(), Qt::LeftButton, {},
                      chars->visualItemRect(chars->item(14)).center());
    EXPECT_EQ(hex->currentRow(), 14);
    // the transmit pane is not coupled to the receive pane
    EXPECT_EQ(window.transmitHexList()->currentRow(), -1);
}

// As during a transmission the lists are not cleared per packet: each keeps the last 1000 lines.
TEST_F(DebugWindow, TheLineAfterTheThousandthPushesOutTheFirst)
{
    exchange.SetClearPerPacket(false);
    // 32 packets of 254 bytes: 32 lines each, 1024 in all; answers of 300 bytes, 38 lines each
    std::vector<std::string> expectedHex;
    for (int i = 0; i < 32; ++i) {
        const std::string packet = std::string(253, char('A' + i % 26)) + char(i);
        exchange.SendPacket(packet);
        fake->arrive(std::string(299, 'z') + "\x04");
        runPending();
        ASSERT_TRUE(exchange.done()) << "packet " << i;
        for (const DebugViewLine& l : debugViewLines(packet))
            expectedHex.push_back(l.hex);
    }
    ASSERT_EQ(expectedHex.size(), 1024u);
    const QStringList hex = linesOf(window.transmitHexList());
    ASSERT_EQ(hex.size(), 1000);
    EXPECT_EQ(window.transmitCharList()->count(), 1000);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(hex[i].toStdString(), expectedHex[size_t(i) + 24]) << "line " << i;
    EXPECT_EQ(window.receiveHexList()->count(), 1000);
    EXPECT_EQ(window.receiveCharList()->count(), 1000);
}
