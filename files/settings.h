#pragma once
// The three settings records with their defaults, and the record side of applying the
// serial settings.

#include <string>

namespace lmx {

struct TSerialSettings {
    // Fields in their stored order.
    std::string PortName = "\\\\.\\COM1";
    std::string Baudrate = "19200";
    int DataBits = 3; // 0..3 = 5..8 data bits
    int Parity = 0;   // none, odd, even, mark, space
    int StopBits = 0; // 1, 1.5, 2
    int HwFlow = 1;   // none, none but RTS on, RTS/CTS
    int SwFlow = 0;   // none, XON/XOFF
    int DTRCtrl = 0;  // DTR on while open, keep off

    // How the line behaves on a bus and when the port goes away. The file keeps these in a
    // block of their own (line_settings_block.h), written only when one differs from its
    // default, so a file without them stays as it always was.
    int Echo = 0;             // 0 off, 1 discard, 2 verify: what becomes of the line's echo
    bool RS485 = false;       // the system switches the transceiver's direction (Linux)
    int RS485DelayBefore = 0; // ms between raising RTS and the first bit
    int RS485DelayAfter = 0;  // ms between the last bit and dropping RTS
    int Reconnect = 0;        // seconds a lost port is tried again; 0: not at all

    static constexpr int kMaxRs485Delay = 100; // the most the system takes
    static constexpr int kMaxReconnect = 3600;

    void SetDefaults() { *this = TSerialSettings(); }
    bool operator==(const TSerialSettings& o) const;
};

struct TDisplaySettings {
    static constexpr int kMinNetNr = 0;
    static constexpr int kMaxNetNr = 32;

    int NetNr = 1;
    // The network numbers Transmit to Displays sends to, as entered ("1-12,18"). The file
    // keeps it in a block of its own after the three records: a reader that knows only
    // three blocks never looks at it.
    std::string NetNrList;

    void SetDefaults() { *this = TDisplaySettings(); }
    bool operator==(const TDisplaySettings& o) const
    {
        return NetNr == o.NetNr && NetNrList == o.NetNrList;
    }
};

// Where the main window stands and how it is divided. All zero until the user has resized,
// moved or divided the window: it then comes up at its first size, centred on the screen.
// Sizes are in the window system's device-independent pixels, so they mean the same on a
// screen of any pixel density.
struct WindowPlacement {
    int Left = 0;
    int Top = 0;
    int Width = 0; // 0: the first size
    int Height = 0;
    bool Maximized = false;
    int EditorWidth = 0; // the command editor's width beside the tabs; 0: the first division
    int TopHeight = 0;   // the height of the editor and the tabs above the receive box; 0 likewise

    bool isDefault() const { return *this == WindowPlacement(); }
    bool operator==(const WindowPlacement& o) const;
};

struct TGeneralSettings {
    // Fields in their stored order.
    bool ShowMainToolBar = true;
    bool CheckFileReplace = true;
    bool ShowSerialDebug = false;
    bool ExtendedLmx = true;
    bool SaveKeys = true;
    bool ClearKeys = false;
    bool DebugFile = false;
    bool CreateDebugFile = true;
    bool AppendDebugFile = false;
    // The folder every transmission is captured to (a pcapng file each); empty: none. The
    // file keeps it in a block of its own, written only when it is set.
    std::string CaptureFolder;
    // Only the window program reads these two; the file keeps them in a block of their own
    // after the others (settings_file.h), so a reader that knows only the nine switches above
    // never meets them.
    // A failed answer opens a message box that waits for OK; off, it is told in the receive
    // box, the status bar and the Packets tab and the transmission goes on.
    bool ShowAnswerBoxes = true;
    WindowPlacement Window;

    void SetDefaults() { *this = TGeneralSettings(); }
    bool operator==(const TGeneralSettings& o) const;
};

// What the serial port gets from the record. The frame format is fixed: 8 data bits, no
// parity, 1 stop bit, RTS on, no XON/XOFF, DTR on while open.
struct SerialLineSetup {
    std::string portName; // blanks around it removed
    long long baudRate = -1; // -1 when the text is not a number
    int dataBits = 3;
    int parity = 0;
    int stopBits = 0;
    int hwFlow = 1;
    int swFlow = 0;
    bool enableDtrOnOpen = true;
};

// Writes the fixed frame values back into the record (so the next saved file holds them)
// and returns what the port is set to.
SerialLineSetup applySerialSettings(TSerialSettings& record);

// The baud rate text as a number: optional blanks around, optional sign, decimal digits, in
// 32-bit range; -1 otherwise.
long long baudRateOf(const std::string& text);

// The baud rates the program accepts, in the settings file as in the serial settings dialog.
constexpr long long kMinBaudRateEntry = 110;
constexpr long long kMaxBaudRateEntry = 921600;
bool isAcceptedBaudRate(const std::string& text);

std::string trimmedBlanks(const std::string& text);

} // namespace lmx
