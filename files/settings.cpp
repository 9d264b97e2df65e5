#include "settings.h"

#include "protocol/hex.h"

#include <limits>

namespace lmx {

bool TSerialSettings::operator==(const TSerialSettings& o) const
{
    return PortName == o.PortName && Baudrate == o.Baudrate && DataBits == o.DataBits
        && Parity == o.Parity && StopBits == o.StopBits && HwFlow == o.HwFlow
        && SwFlow == o.SwFlow && DTRCtrl == o.DTRCtrl && Echo == o.Echo && RS485 == o.RS485
        && RS485DelayBefore == o.RS485DelayBefore && RS485DelayAfter == o.RS485DelayAfter
        && Reconnect == o.Reconnect;
}

bool TGeneralSettings::operator==(const TGeneralSettings& o) const
{
    return ShowMainToolBar == o.ShowMainToolBar && CheckFileReplace == o.CheckFileReplace
        && ShowSerialDebug == o.ShowSerialDebug && ExtendedLmx == o.ExtendedLmx
        && SaveKeys == o.SaveKeys && ClearKeys == o.ClearKeys && DebugFile == o.DebugFile
        && CreateDebugFile == o.CreateDebugFile && AppendDebugFile == o.AppendDebugFile
        && CaptureFolder == o.CaptureFolder && ShowAnswerBoxes == o.ShowAnswerBoxes && Window == o.Window;
}

bool WindowPlacement::operator==(const WindowPlacement& o) const
{
    return Left == o.Left && Top == o.Top && Width == o.Width && Height == o.Height
        && Maximized == o.Maximized && EditorWidth == o.EditorWidth && TopHeight == o.TopHeight;
}

std::string trimmedBlanks(const std::string& text)
{
    // Blanks and control characters, as a trim of typed text does.
    size_t first = 0;
    size_t last = text.size();
    while (first < last && static_cast<unsigned char>(text[first]) <= ' ')
        ++first;
    while (last > first && static_cast<unsigned char>(text[last - 1]) <= ' ')
        --last;
    return text.substr(first, last - first);
}

long long baudRateOf(const std::string& text)
{
    std::string t = trimmedBlanks(text);
    bool negative = false;
    if (!t.empty() && (t[0] == '-' || t[0] == '+')) {
        negative = t[0] == '-';
        t.erase(0, 1);
    }
    long long v = 0;
    if (!decToInt(t, v) || v > std::numeric_limits<int32_t>::max())
        return -1;
    return negative ? -v : v;
}

bool isAcceptedBaudRate(const std::string& text)
{
    const long long rate = baudRateOf(text);
    return rate >= kMinBaudRateEntry && rate <= kMaxBaudRateEntry;
}

SerialLineSetup applySerialSettings(TSerialSettings& record)
{
    record.DataBits = 3;
    record.Parity = 0;
    record.StopBits = 0;
    record.HwFlow = 1;
    record.SwFlow = 0;
    record.DTRCtrl = 0;

    SerialLineSetup setup;
    setup.portName = trimmedBlanks(record.PortName);
    setup.baudRate = baudRateOf(record.Baudrate);
    setup.dataBits = record.DataBits;
    setup.parity = record.Parity;
    setup.stopBits = record.StopBits;
    setup.hwFlow = record.HwFlow;
    setup.swFlow = record.SwFlow;
    setup.enableDtrOnOpen = record.DTRCtrl == 0;
    return setup;
}

} // namespace lmx
