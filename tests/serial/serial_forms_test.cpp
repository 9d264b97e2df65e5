// The serial settings dialog and the serial debug window, offscreen.
#include "serial_test_support.h"

#include "serial/packet_exchange.h"
#include "serial/serial_sett_form.h"
#include "serial/xmit_form.h"
#include "support/scripted_dialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
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
    EXPECT_EQ(ports[15], "\\\\.\\COM16");
    EXPECT_EQ(ports.mid(16), (QStringList{"/dev/ttyS0", "/dev/ttyUSB0"}));
    EXPECT_EQ(itemsOf(form->BaudRateComboBox()).size(), 18);
    EXPECT_EQ(form->PortComboBox()->currentText(), "/dev/pts/3");
    EXPECT_EQ(form->BaudRateComboBox()->currentText(), "12345");
    EXPECT_TRUE(form->PortComboBox()->isEditable() && form->PortComboBox()->isEnabled());
    EXPECT_TRUE(form->BaudRateComboBox()->isEditable() && form->BaudRateComboBox()->isEnabled());

    const std::pair<QComboBox*, QString> fixed[] = {
        {form->DataBitsComboBox(), "8"},       {form->ParityComboBox(), "None"},
        {form->StopBitsComboBox(), "1"},       {form->HwFlowComboBox(), "RTS/CTS"},
        {form->SwFlowComboBox(), "None"},      {form->DTRControlComboBox(), "Standard"}};
    for (const auto& [box, text] : fixed) {
        EXPECT_FALSE(box->isEnabled()) << qPrintable(box->objectName());
        EXPECT_FALSE(box->isEditable()) << qPrintable(box->objectName());
        EXPECT_EQ(box->currentText(), text) << qPrintable(box->objectName());
    }
    EXPECT_EQ(itemsOf(form->HwFlowComboBox()), (QStringList{"None", "None but RTS on", "RTS/CTS"}));
    EXPECT_EQ(form->OkButton()->text(), "Ok");
    EXPECT_TRUE(form->OkButton()->isDefault());
    EXPECT_EQ(form->CancelButton()->text(), "Cancel");
    EXPECT_EQ(form->findChild<QComboBox*>("DTRControlComboBox"), form->DTRControlComboBox());
}

TEST_F(SettingsDialog, OkRefusesABlankPortName)
{
    open();
    const TSerialSettings before = record;
    okWith("   ", "9600");
    ASSERT_EQ(dialogs.steps().size(), 1);
    EXPECT_EQ(dialogs.steps()[0].text, "Please, enter a valid port name.");
    EXPECT_EQ(dialogs.steps()[0].title, "Error");
    EXPECT_EQ(dialogs.steps()[0].icon, UserDialogs::Icon::Error);
    EXPECT_FALSE(accepted());
    EXPECT_TRUE(form->isVisible());
    EXPECT_TRUE(record == before);
}

TEST_F(SettingsDialog, OkRefusesARateOutsideTheRange)
{
    open();
    const TSerialSettings before = record;
    for (const char* bad : {"921601", "109", "abc", "", "1e5"}) {
        dialogs.clear();
        okWith("\\\\.\\COM2", bad);
        ASSERT_EQ(dialogs.steps().size(), 1) << bad;
        EXPECT_EQ(dialogs.lastText(), "Please, enter a valid baud rate.") << bad;
        EXPECT_EQ(dialogs.steps()[0].title, "Error");
        EXPECT_FALSE(accepted()) << bad;
    }
    EXPECT_TRUE(record == before);
}

TEST_F(SettingsDialog, OkStoresTheTrimmedPortAndTheRateAsTyped)
{
    open();
    okWith("  /dev/ttyUSB0  ", " 230400");
    EXPECT_TRUE(dialogs.steps().isEmpty());
    EXPECT_TRUE(accepted());
    EXPECT_EQ(record.PortName, "/dev/ttyUSB0");
    EXPECT_EQ(record.Baudrate, " 230400");
    EXPECT_EQ(record.DataBits, 3);
    EXPECT_EQ(record.HwFlow, 1);
}

TEST_F(SettingsDialog, CancelAndEscapeLeaveTheRecordAlone)
{
    open();
    const TSerialSettings before = record;
    form->PortComboBox()->setEditText("/dev/ttyUSB9");
    form->CancelButton()->click();
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(record == before);

    open();
    form->BaudRateComboBox()->setEditText("600");
    QTest::keyClick(form.get(), Qt::Key_Escape);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(form->result(), QDialog::Rejected);
    EXPECT_TRUE(record == before);
}

TEST_F(SettingsDialog, AStoredIndexOutOfRangeIsKept)
{
    record.DataBits = 7;
    open();
    EXPECT_EQ(form->DataBitsComboBox()->currentIndex(), -1);
    okWith("\\\\.\\COM1", "19200");
    EXPECT_TRUE(accepted());
    EXPECT_EQ(record.DataBits, 7); // never -1; the apply step sets it to 8 bits
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
    EXPECT_EQ(window.width(), 375);
    EXPECT_EQ(window.minimumWidth(), 375);
    EXPECT_EQ(window.maximumWidth(), 375);
    QStringList captions;
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        captions << label->text();
        EXPECT_TRUE(label->font().bold());
    }
    captions.sort();
    EXPECT_EQ(captions, (QStringList{"Received:", "Transmitted:"}));
    for (QListWidget* list : {window.transmitHexList(), window.transmitCharList(),
                              window.receiveHexList(), window.receiveCharList()}) {
        EXPECT_EQ(list->font().family(), "Courier New");
        EXPECT_EQ(list->font().pointSize(), 10);
        EXPECT_TRUE(list->font().bold());
        EXPECT_EQ(list->palette().color(QPalette::Base), QColor(Qt::black));
        EXPECT_EQ(list->palette().color(QPalette::Text), QColor(Qt::white));
        EXPECT_EQ(list->selectionMode(), QAbstractItemView::SingleSelection);
    }
    EXPECT_EQ(window.transmitHexList()->width(), 210);
    EXPECT_EQ(window.transmitCharList()->width(), 150);
    EXPECT_LT(window.transmitHexList()->x(), window.transmitCharList()->x());
    EXPECT_LT(window.transmitHexList()->mapTo(&window, QPoint()).y(),
              window.receiveHexList()->mapTo(&window, QPoint()).y());
}

TEST_F(DebugWindow, ShowsEachPacketAndChunkEightBytesALine)
{
    ASSERT_TRUE(driver->Connect()); // SendPacket connects anyway; the fake never refuses
    driver->Disconnect();
    exchange.SendPacket("\x01" "01Hello" "\x04"); // nine bytes
    EXPECT_EQ(linesOf(window.transmitHexList()), (QStringList{"01 30 31 48 65 6C 6C 6F ", "04 "}));
    EXPECT_EQ(linesOf(window.transmitCharList()),
              (QStringList{"\x01 0 1 H e l l o ", "\x04 "}));

    fake->arrive("ab\r");
    runPending();
    fake->arrive("c");
    runPending();
    exchange.SetExtendedLmx(true);
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

TEST_F(DebugWindow, NothingIsShownWhileTheViewIsOff)
{
    exchange.SetDebugView(false);
    exchange.SendPacket("abc");
    fake->arrive("\x04");
    runPending();
    EXPECT_EQ(window.transmitHexList()->count(), 0);
    EXPECT_EQ(window.receiveHexList()->count(), 0);
}

TEST_F(DebugWindow, EachListKeepsTheLast1000Lines)
{
    std::string bytes;
    for (int line = 0; line < 1001; ++line)
        bytes += std::string(8, char(line % 200 + 32));
    window.showTransmitted(QByteArray(bytes.data(), qsizetype(bytes.size())));
    ASSERT_EQ(window.transmitHexList()->count(), 1000);
    ASSERT_EQ(window.transmitCharList()->count(), 1000);
    EXPECT_EQ(window.transmitHexList()->item(0)->text(), "21 21 21 21 21 21 21 21 ");
    EXPECT_EQ(window.transmitCharList()->item(0)->text(), "! ! ! ! ! ! ! ! ");
    window.showTransmitted("z");
    EXPECT_EQ(window.transmitHexList()->count(), 1000);
    EXPECT_EQ(window.transmitHexList()->item(0)->text(), "22 22 22 22 22 22 22 22 ");
    EXPECT_EQ(window.transmitHexList()->item(999)->text(), "7A ");
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
