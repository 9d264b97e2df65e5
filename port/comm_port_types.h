#pragma once
// The value types of the serial port driver: its enumerations (ordinals as stored in the
// settings file), the line status set and the line settings the port is given.

#include <cstdint>

namespace lmx {

enum TPortNumber : int {
    pnCustom = 0,
    pnCOM1, pnCOM2, pnCOM3, pnCOM4, pnCOM5, pnCOM6, pnCOM7, pnCOM8,
    pnCOM9, pnCOM10, pnCOM11, pnCOM12, pnCOM13, pnCOM14, pnCOM15, pnCOM16,
};

enum TBaudRate : int {
    brCustom = 0,
    br110, br300, br600, br1200, br2400, br4800, br9600, br14400, br19200, br38400,
    br56000, br57600, br115200, br128000, br256000,
};

enum TDataBits : int { db5BITS = 0, db6BITS, db7BITS, db8BITS };
enum TStopBits : int { sb1BITS = 0, sb1HALFBITS, sb2BITS };
enum TParity : int { ptNONE = 0, ptODD, ptEVEN, ptMARK, ptSPACE };
enum THwFlowControl : int { hfNONE = 0, hfNONERTSON, hfRTSCTS };
enum TSwFlowControl : int { sfNONE = 0, sfXONXOFF };
enum TPacketMode : int { pmDiscard = 0, pmPass };

// Bits per second of a table entry; 0 for brCustom and anything outside the table.
uint32_t BaudRateOf(TBaudRate rate);

// The modem input lines that are on.
struct TLineStatusSet {
    bool lsCTS = false;
    bool lsDSR = false;
    bool lsRING = false;
    bool lsCD = false;

    bool empty() const { return !lsCTS && !lsDSR && !lsRING && !lsCD; }
    bool operator==(const TLineStatusSet& o) const
    {
        return lsCTS == o.lsCTS && lsDSR == o.lsDSR && lsRING == o.lsRING && lsCD == o.lsCD;
    }
};

// The transceiver's direction on a 2-wire RS-485 bus, switched by the system's serial driver:
// RTS raised while sending, with delays in ms around the packet.
struct Rs485Settings {
    bool enabled = false;
    uint32_t delayBeforeMs = 0;
    uint32_t delayAfterMs = 0;

    bool operator==(const Rs485Settings& o) const
    {
        return enabled == o.enabled && delayBeforeMs == o.delayBeforeMs
            && delayAfterMs == o.delayAfterMs;
    }
};

// Everything the port is configured with on connect and whenever a line setting changes.
struct LineSettings {
    uint32_t baudRate = 9600;
    int byteSize = 8; // data bits, 5..8
    TParity parity = ptNONE;
    TStopBits stopBits = sb1BITS;
    bool dtrOn = true;          // DTR raised while the port is open
    bool rtsOn = false;         // RTS raised while the port is open, no handshake
    bool ctsOutputFlow = false; // send only while CTS is on (with RTS handshake)
    bool rtsHandshake = false;
    bool xonXoffOutput = false;
    bool xonXoffInput = false;
    uint32_t xonLimit = 0;
    uint32_t xoffLimit = 0;
    char xonChar = 0x11;
    char xoffChar = 0x13;
    Rs485Settings rs485; // left as the port has it unless enabled

    bool operator==(const LineSettings& o) const;
    bool operator!=(const LineSettings& o) const { return !(*this == o); }
};

// Read and write time-outs in ms; reads and writes of this program never block longer.
struct CommTimeouts {
    uint32_t readInterval = 1;
    uint32_t readTotalMultiplier = 0;
    uint32_t readTotalConstant = 1;
    uint32_t writeTotalMultiplier = 0;
    uint32_t writeTotalConstant = 10;
};

} // namespace lmx
