// The serial debug window fed by real exchanges with the virtual display.
#include "tests/serial/serial_line_fixture.h"

#include "protocol/framing.h"
#include "serial/debug_view_lines.h"
#include "window/xmit_form.h"

#include <QListWidget>

using namespace lmx;
using namespace lmx::sim;
using namespace serialtest;

namespace {

QStringList linesOf(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

} // namespace

// How one packet and one answer fill the lists is the debug window's own test (fake line).
TEST(SerialViewLine, TheLineAfterTheThousandthPushesOutTheFirst)
{
    SerialLine line(simOptions());
    ASSERT_FALSE(line.path.empty());
    TXmitForm window(line.exchange);
    line.exchange.SetDebugView(true);
    line.exchange.SetClearPerPacket(false); // as during a transmission
    // 32 packets of 254 bytes: 32 lines each, 1024 in all
    std::vector<std::string> expectedHex;
    for (int i = 0; i < 32; ++i) {
        const int packetNr = i == 0 ? 0x40 : i == 31 ? 0x80 + i : 0xC0 + i;
        std::string text(239, char('A' + i % 26));
        const std::string packet = *buildExtendedPacket(1, packetNr, text);
        ASSERT_EQ(packet.size(), 254u);
        ASSERT_TRUE(line.transmit(packet)) << "packet " << i;
        for (const DebugViewLine& l : debugViewLines(packet))
            expectedHex.push_back(l.hex);
    }
    ASSERT_EQ(expectedHex.size(), 1024u);
    const QStringList hex = linesOf(window.transmitHexList());
    ASSERT_EQ(hex.size(), 1000);
    EXPECT_EQ(window.transmitCharList()->count(), 1000);
    for (int i = 0; i < 1000; ++i)
        ASSERT_EQ(hex[i].toStdString(), expectedHex[size_t(i) + 24]) << "line " << i;
    // the receive lists hold one line per answer chunk at most, capped the same way
    EXPECT_LE(window.receiveHexList()->count(), 1000);
    EXPECT_GE(window.receiveHexList()->count(), 32 * 2);
}
