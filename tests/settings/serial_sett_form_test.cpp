// The serial settings dialog, offscreen.
#include "settings/serial_sett_form.h"
#include "tests/support/scripted_dialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QSpinBox>
#include <QTabWidget>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <gtest/gtest.h>

using namespace lmx;

namespace {

class SettingsDialog : public ::testing::Test {
protected:
    void open()
    {
        form = std::make_unique<TSerialSettForm>(
                record, dialogs,
                std::vector<PortChoice>{{"/dev/ttyS0", ""}, {"/dev/ttyUSB0", "FT232R USB UART, FTDI"}});
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

} // namespace

TEST_F(SettingsDialog, ShowsTheRecordOnTwoPages)
{
    record.PortName = "/dev/pts/3";
    record.Baudrate = "12345";
    record.HwFlow = 2;
    open();
    // The sixteen COM names, then the system's ports.
    ASSERT_EQ(form->PortComboBox()->count(), 18);
    EXPECT_EQ(form->PortComboBox()->itemText(16), "/dev/ttyS0");
    EXPECT_EQ(form->PortComboBox()->currentText(), "/dev/pts/3");
    // What a port is: its tool tip, and the line below the box while it is chosen.
    EXPECT_EQ(form->PortComboBox()->itemData(17, Qt::ToolTipRole).toString(), "FT232R USB UART, FTDI");
    EXPECT_EQ(form->PortAboutLabel()->text(), "");
    form->PortComboBox()->setCurrentIndex(17);
    EXPECT_EQ(form->PortAboutLabel()->text(), "FT232R USB UART, FTDI");
    EXPECT_EQ(form->BaudRateComboBox()->currentText(), "12345");

    for (QComboBox* box : {form->DataBitsComboBox(), form->ParityComboBox(), form->StopBitsComboBox(),
                           form->HwFlowComboBox(), form->SwFlowComboBox(), form->DTRControlComboBox()})
        EXPECT_FALSE(box->isEnabled() || box->isEditable()) << qPrintable(box->objectName());
    EXPECT_EQ(form->DataBitsComboBox()->currentText(), "8");
    EXPECT_EQ(form->HwFlowComboBox()->currentText(), "RTS/CTS");
}

TEST_F(SettingsDialog, OkRefusesABlankPortOrARateOutsideTheRangeAndCancelStoresNothing)
{
    open();
    const TSerialSettings before = record;
    okWith("   ", "abc"); // the port is checked first
    ASSERT_EQ(dialogs.steps().size(), 1);
    EXPECT_EQ(dialogs.steps()[0].text, "Please, enter a valid port name.");
    EXPECT_EQ(dialogs.steps()[0].icon, UserDialogs::Icon::Error);
    EXPECT_TRUE(form->isVisible());
    dialogs.clear();
    okWith("\\\\.\\COM2", "921601");
    EXPECT_EQ(dialogs.texts(), QStringList{"Please, enter a valid baud rate."});
    EXPECT_FALSE(accepted());
    // Cancel and Escape store nothing either.
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

TEST_F(SettingsDialog, OkStoresThePortTrimmedAndTheRateAsTypedAndADeviceServerIsNoted)
{
    record.DataBits = 7; // out of range: the box shows nothing and the value is kept
    record.Parity = 2;
    open();
    EXPECT_EQ(form->DataBitsComboBox()->currentIndex(), -1);
    const std::pair<const char*, bool> ports[] = {
        {"/dev/ttyUSB0", false}, {"  TCP://10.0.0.7:4001", true}, {"tcp:/10.0.0.7", false}};
    for (const auto& [port, server] : ports) {
        form->PortComboBox()->setEditText(port);
        EXPECT_EQ(form->NetworkPortNote()->isVisible(), server) << port;
    }
    okWith("  /dev/ttyUSB0  ", " 230400");
    EXPECT_TRUE(dialogs.steps().isEmpty());
    EXPECT_TRUE(accepted());
    EXPECT_EQ(record.PortName, "/dev/ttyUSB0");
    EXPECT_EQ(record.Baudrate, " 230400");
    EXPECT_EQ(record.DataBits, 7);
    EXPECT_EQ(record.HwFlow, 1);
    // a device server's port is stored like any other; the line values stay as they were
    open();
    okWith("tcp://10.0.0.7:4001", "9600");
    EXPECT_TRUE(accepted());
    EXPECT_TRUE(record.PortName == "tcp://10.0.0.7:4001" && record.Baudrate == "9600");
    EXPECT_EQ(record.Parity, 2);
}

TEST_F(SettingsDialog, ADeviceServersAddressShowsWhole)
{
    record.PortName = "tcp://127.0.0.1:47641";
    open();
    QLineEdit* edit = form->PortComboBox()->lineEdit();
    EXPECT_GE(edit->width(), edit->fontMetrics().horizontalAdvance(QString::fromStdString(record.PortName)) + 4);
}

TEST_F(SettingsDialog, TheLineSettingsHaveAPageOfTheirOwn)
{
    record.Echo = 2;
    record.RS485 = true;
    record.RS485DelayBefore = 5;
    record.RS485DelayAfter = 100;
    record.Reconnect = 5;
    open();
    EXPECT_EQ(form->PageControl()->tabText(2), "Bus and Line");
    EXPECT_EQ(form->EchoComboBox()->currentIndex(), 2);
    EXPECT_TRUE(form->Rs485CheckBox()->isChecked());
    EXPECT_EQ(form->Rs485BeforeSpinBox()->value(), 5);
    EXPECT_EQ(form->Rs485AfterSpinBox()->value(), 100);
    EXPECT_EQ(form->ReconnectSpinBox()->value(), 5);
    // the delays count only while the system switches the direction
    form->Rs485CheckBox()->setChecked(false);
    EXPECT_FALSE(form->Rs485BeforeSpinBox()->isEnabled() || form->Rs485AfterSpinBox()->isEnabled());
    form->ReconnectSpinBox()->setValue(0);
    EXPECT_EQ(form->ReconnectSpinBox()->text(), "Off");
}

TEST_F(SettingsDialog, OkStoresTheLineSettings)
{
    open();
    form->EchoComboBox()->setCurrentIndex(1);
    form->Rs485CheckBox()->setChecked(true);
    form->Rs485AfterSpinBox()->setValue(7);
    form->ReconnectSpinBox()->setValue(3600);
    form->OkButton()->click();
    ASSERT_TRUE(accepted());
    EXPECT_EQ(record.Echo, 1);
    EXPECT_TRUE(record.RS485);
    EXPECT_EQ(record.RS485DelayBefore, 0);
    EXPECT_EQ(record.RS485DelayAfter, 7);
    EXPECT_EQ(record.Reconnect, 3600);
}

TEST_F(SettingsDialog, TheNoteSaysWhatThePortKindIgnores)
{
    open();
    const std::pair<const char*, const char*> ports[] = {
        {"/dev/ttyUSB0", ""},
        {" tcp://10.0.0.7:4001", "it sets baud rate, data bits, parity, stop bits, flow control and the RS-485 direction itself"},
        {"RFC2217://10.0.0.7:2217", "switches the RS-485 direction itself"},
    };
    for (const auto& [port, ignored] : ports) {
        form->PortComboBox()->setEditText(port);
        EXPECT_EQ(form->NetworkPortNote()->isVisible(), *ignored != '\0') << port;
        EXPECT_TRUE(form->NetworkPortNote()->text().contains(ignored)) << port;
    }
}
