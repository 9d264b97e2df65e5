// Shows the serial settings dialog (every page) and the serial debug window with some
// traffic, and takes a screenshot of each from the X server (ImageMagick's import), so
// their look can be checked by eye. Run by tests/serial/screenshots.sh under Xvfb:
//   serial_gallery OUTPUT_DIR
#include "gallery_support.h"
#include "tests/port/fake_serial_backend.h"

#include "frames/xmit_form.h"
#include "port/comm_port_driver.h"
#include "protocol/framing.h"
#include "settings/serial_sett_form.h"
#include "transmission/packet_exchange.h"
#include "window/qt_user_dialogs.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QElapsedTimer>
#include <QListWidget>
#include <QProcess>
#include <QTabWidget>

#include <cstdio>

using namespace lmx;

namespace {

QString g_outDir;
int g_failures = 0;

void grab(QRect r, const char* name)
{
    if (!gallery::grabScreen(r, g_outDir, name))
        ++g_failures;
}

void shoot(QWidget& window, const char* name)
{
    window.move(20, 20);
    window.show();
    window.raise();
    gallery::settle(300);
    grab(window.frameGeometry(), name);
    window.hide();
}

// The dialog with its port list open.
void shootPortList(TSerialSettForm& form, const char* name)
{
    form.move(20, 20);
    form.show();
    gallery::settle(200);
    form.PortComboBox()->showPopup();
    gallery::settle(300);
    grab(form.frameGeometry().united(form.PortComboBox()->view()->window()->frameGeometry()), name);
    form.PortComboBox()->hidePopup();
    form.hide();
}

QByteArray bytes(const std::string& s)
{
    return QByteArray(s.data(), qsizetype(s.size()));
}

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orvanta"));
    g_outDir = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("screenshots");
    QDir().mkpath(g_outDir);

    QtUserDialogs dialogs;
    TSerialSettings record;
    {
        // Two made-up adapters, so the line under the port box shows what a port is.
        record.PortName = "/dev/ttyUSB0";
        const std::vector<PortChoice> ports = {
            {"/dev/ttyS0", ""},
            {"/dev/ttyUSB0", "FT232R USB UART, FTDI, serial number A10K3XYZ"},
            {"/dev/serial/by-id/usb-FTDI_FT232R_USB_UART_A10K3XYZ-if00-port0",
             "always the adapter now at /dev/ttyUSB0"},
            {"/dev/ttyUSB1", "CP2102 USB to UART Bridge Controller, Silicon Labs, serial number 0001"}};
        TSerialSettForm form(record, dialogs, ports);
        shoot(form, "serial_settings_base");
        shootPortList(form, "serial_settings_ports");
        form.PageControl()->setCurrentIndex(1);
        shoot(form, "serial_settings_flow");
    }
    {
        // The bus page, for a COM port server: the note says what it does not take.
        record.PortName = "rfc2217://192.168.1.20:2217";
        record.Echo = 2;
        record.RS485 = true;
        record.RS485DelayAfter = 2;
        record.Reconnect = 5;
        TSerialSettForm form(record, dialogs, {});
        form.PageControl()->setCurrentIndex(2);
        shoot(form, "serial_settings_line");
        form.PortComboBox()->setEditText(QStringLiteral("tcp://192.168.1.20:4001"));
        shoot(form, "serial_settings_line_tcp");
    }

    TCommPortDriver driver(std::make_unique<serialtest::FakeSerialBackend>());
    PacketExchange exchange(driver, dialogs);
    TXmitForm window(exchange);
    window.showTransmitted(bytes(*buildExtendedPacket(1, 0x40, "Hello\r\nworld \x1B\xA0" "1")));
    // an answer in two chunks: each starts a line of its own
    window.showReceived(bytes("\x01\x06" "01F"));
    window.showReceived(bytes("E40" "04" "0000" "B79A" "\x04"));
    window.transmitHexList()->setCurrentRow(1);
    shoot(window, "serial_debug");
    return g_failures == 0 ? 0 : 1;
}
