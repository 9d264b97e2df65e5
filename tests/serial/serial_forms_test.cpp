// The serial settings dialog and the serial debug window, offscreen.
#include "serial_test_support.h"

#include "serial/packet_exchange.h"
#include "serial/serial_sett_form.h"
#include "serial/xmit_form.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTabWidget>
#include <QTest>
#include <gtest/gtest.h>

using namespace lmx;
using namespace serialtest;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    void open()
    {
        form = std::make_unique<TSerialSettForm>(record, dialogs,
                                                 QStringList{"/dev/ttyS0", "/dev/ttyUSB0"});
        form->show();
    }
    // Types into the two boxes and clicks Ok.
    void okWith(const QString& port, const QString& baud)
    {
        form->PortComboBox()->setEditText(port);
        form->BaudRateComboBox()->setEditText(baud);
        form->OkButton()->click();
    }
    bool accepted() const { return form->result() == QDialog::Accepted && !form->isVisible(); }

    TSerialSettings record;
    ScriptedDialogs dialogs;
    std::unique_ptr<TSerialSettForm> form;
};

QStringList itemsOf(const QComboBox* box)
{
    QStringList items;
    for (int i = 0; i < box->count(); ++i)
        items << box->itemText(i);
    return items;
}

QStringList linesOf(const QListWidget* list)
{
    QStringList lines;
    for (int i = 0; i < list->count(); ++i)
        lines << list->item(i)->text();
    return lines;
}

} // namespace

TEST_F(SettingsDialog, ShowsTheRecordOnTwoPages)
{
    record.PortName = "/dev/pts/3";
    record.Baudrate = "12345";
    record.HwFlow = 2;
    open();
    EXPECT_EQ(form->windowTitle(), QApplication::applicationName() + "  Serial Settings");
    ASSERT_EQ(form->PageControl()->count(), 2);
    EXPECT_EQ(form->PageControl()->tabText(0), "Base Settings");
    EXPECT_EQ(form->PageControl()->tabText(1), "Flow Control");
    EXPECT_EQ(form->PageControl()->currentIndex(), 0);

    const QStringList ports = itemsOf(form->PortComboBox());
    ASSERT_EQ(ports.size(), 18);
    EXPECT_EQ(ports.first(), "\\\\.\\COM1");
    EXPECT_EQ(ports.mid(15), (QStringList{"\\\\.\\COM16", "/dev/ttyS0", "/dev/ttyUSB0"}));
    EXPECT_EQ(form->PortComboBox()->currentText(), "/dev/pts/3");
    EXPECT_EQ(form->BaudRateComboBox()->currentText(), "12345");
    EXPECT_TRUE(form->PortComboBox()->isEditable() && form->BaudRateComboBox()->isEditable());

    for (QComboBox* box : {form->DataBitsComboBox(), form->ParityComboBox(), form->StopBitsComboBox(),
                           form->HwFlowComboBox(), form->SwFlowComboBox(), form->DTRControlComboBox()})
        EXPECT_FALSE(box->isEnabled() || box->isEditable()) << qPrintable(box->objectName());
    EXPECT_EQ(form->DataBitsComboBox()->currentText(), "8");
    EXPECT_EQ(form->HwFlowComboBox()->currentText(), "RTS/CTS");
    EXPECT_TRUE(form->OkButton()->isDefault());
}

TEST_F(SettingsDialog, OkRefusesABlankPortAndARateOutsideTheRange)
{
    open();
    const TSerialSettings before = record;
    okWith("   ", "abc"); // the port is checked first
    ASSERT_EQ(dialogs.steps().size(), 1);
    EXPECT_EQ(dialogs.steps()[0].text, "Please, enter a valid port name.");
    EXPECT_EQ(dialogs.steps()[0].title, "Error");
    EXPECT_EQ(dialogs.steps()[0].icon, UserDialogs::Icon::Error);
    EXPECT_TRUE(form->isVisible());
    for (const char* bad : {"921601", "x"}) {
        dialogs.clear();
        okWith("\\\\.\\COM2", bad);
        EXPECT_EQ(dialogs.texts(), QStringList{"Please, enter a valid baud rate."}) << bad;
        EXPECT_FALSE(accepted()) << bad;
    }
    EXPECT_TRUE(record == before);
}

TEST_F(SettingsDialog, OkStoresTheTrimmedPortAndTheRateAsTyped)
{
    record.DataBits = 7; // out of range: the box shows nothing and the value is kept
    open();
    EXPECT_EQ(form->DataBitsComboBox()->currentIndex(), -1);
    okWith("  /dev/ttyUSB0  ", " 230400");
    EXPECT_TRUE(dialogs.steps().isEmpty());
    EXPECT_TRUE(accepted());
    EXPECT_EQ(record.PortName, "/dev/ttyUSB0");
    EXPECT_EQ(record.Baudrate, " 230400");
    EXPECT_EQ(record.DataBits, 7);
    EXPECT_EQ(record.HwFlow, 1);
}

TEST_F(SettingsDialog, CancelAndEscapeLeaveTheRecordAlone)
{
    open();
    const TSerialSettings before = record;
    form->PortComboBox()->setEditText("/dev/ttyUSB9");
    form->CancelButton()->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    open();
    form->BaudRateComboBox()->setEditText("600");
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(record == before);
}

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

TEST_F(DebugWindow, LayoutOfThePanes)
{
    window.show();
    EXPECT_EQ(window.windowTitle(), QApplication::applicationName() + " Serial Debug");
    EXPECT_TRUE(window.minimumWidth() == 375 && window.maximumWidth() == 375);
    QListWidget* hex = window.transmitHexList();
    EXPECT_EQ(hex->font().family(), "Courier New");
    EXPECT_TRUE(hex->font().pointSize() == 10 && hex->font().bold());
    EXPECT_TRUE(hex->width() == 210 && window.transmitCharList()->width() == 150);
    EXPECT_LT(hex->x(), window.transmitCharList()->x());
    EXPECT_LT(hex->mapTo(&window, QPoint()).y(), window.receiveHexList()->mapTo(&window, QPoint()).y());
}

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
