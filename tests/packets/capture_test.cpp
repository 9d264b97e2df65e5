// The captures: the pcapng blocks byte for byte, where an exchange's bytes are cut into frames
// and what each says, the files written as the recorder judges exchanges.
#include "packets/capture_file.h"
#include "packets/exchange_capture.h"
#include "packets/exchange_recorder.h"
#include "packets/pcapng.h"
#include "protocol/framing.h"
#include "sim/answer_writer.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lmx;

namespace {

// Little-endian 32-bit words, and text.
std::string le(std::initializer_list<uint32_t> words)
{
    std::string s;
    for (const uint32_t w : words)
        for (int shift = 0; shift < 32; shift += 8)
            s += static_cast<char>(w >> shift & 0xFF);
    return s;
}

std::string fileBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

} // namespace

TEST(Pcapng, SectionHeaderNamesTheWritingProgram)
{
    EXPECT_EQ(pcapng::sectionHeaderBlock("Orvanta 1."),
              le({0x0A0D0D0A, 48, 0x1A2B3C4D, 1, 0xFFFFFFFF, 0xFFFFFFFF, 4 | 10 << 16})
                      + std::string("Orvanta 1.\0\0", 12) + le({0, 48}));
}

TEST(Pcapng, InterfaceDescriptionDescribesThePort)
{
    EXPECT_EQ(pcapng::interfaceDescriptionBlock({"ttyS0", "8N1,"}),
              le({1, 52, 147, 0, 2 | 5 << 16}) + std::string("ttyS0\0\0\0", 8) + le({3 | 4 << 16})
                      + "8N1," + le({9 | 1 << 16, 6, 0, 52}));
}

TEST(Pcapng, EnhancedPacketIsLaidOutFieldByField)
{
    pcapng::Packet p;
    p.timestampUs = 0x0006'1234'5678'9ABC;
    p.bytes = "\x01\x06\x30";
    p.comment = "OK";
    p.flags = pcapng::kInbound | pcapng::kCrcError;
    EXPECT_EQ(pcapng::enhancedPacketBlock(p),
              le({6, 56, 0, 0x00061234, 0x56789ABC, 3, 3}) + std::string("\x01\x06\x30\0", 4)
                      + le({1 | 2 << 16}) + std::string("OK\0\0", 4)
                      + le({2 | 4 << 16, 0x01000001, 0, 56}));
}

TEST(Pcapng, EveryDataLengthIsPaddedToAWholeWord)
{
    for (size_t n = 0; n <= 5; ++n) {
        pcapng::Packet p;
        const std::string data(n, '\x04');
        p.bytes = data;
        const std::string block = pcapng::enhancedPacketBlock(p);
        EXPECT_EQ(block.size(), 32 + (n + 3) / 4 * 4) << n;
        EXPECT_EQ(block.substr(4, 4), le({uint32_t(block.size())})) << n;
        EXPECT_EQ(block.substr(block.size() - 4), le({uint32_t(block.size())})) << n;
        EXPECT_EQ(block.substr(20, 8), le({uint32_t(n), uint32_t(n)})) << n;
        EXPECT_EQ(block.substr(28, block.size() - 32), data + std::string((4 - n % 4) % 4, '\0')) << n;
    }
}

namespace {

const std::string kGood = sim::answerPacket(1, 0x41, "0000");
const std::string kBadCrc = sim::answerPacket(1, 0xFE, 0x41, 4, "0000", 0x0101);

// Each frame as its kind, size, epb_flags and comment: "A 19 1 NetNr 1 packet 1: OK".
std::vector<std::string> framesOf(const std::string& answer, bool extended = true)
{
    ExchangeRecord rec;
    rec.extended = extended;
    rec.netNr = 1;
    rec.packetNr = extended ? 0x41 : 0;
    rec.sent = extended ? *buildExtendedPacket(1, 0x41, "Hi") : *buildNormalPacket(1, "Hi");
    rec.answer = answer;
    evaluateAnswer(rec);
    std::vector<std::string> out;
    for (const CaptureFrame& f : captureFrames(rec)) {
        char flags[16];
        std::snprintf(flags, sizeof flags, "%x", f.flags());
        out.push_back(std::string(1, "PAS"[int(f.kind)]) + " " + std::to_string(f.bytes.size()) + " "
                      + flags + " " + f.comment);
    }
    return out;
}

} // namespace

TEST(ExchangeCapture, WhatCameIsCutWhereTheReceiveBoxFindsTheAnswer)
{
    const std::string sent = "P 17 2 NetNr 1 packet 1 sent";
    const std::string ok = "A 19 1 NetNr 1 packet 1: OK";
    const std::string stray = " 1 NetNr 1 packet 1: bytes that made no answer (";
    const std::pair<std::string, std::vector<std::string>> cases[] = {
        {kGood, {sent, ok}},
        {kBadCrc, {sent, "A 19 1000001 NetNr 1 packet 1: Error Invalid answer CRC at CRC"}},
        {sim::answerPacket(1, 0x41, "1500"),
         {sent, "A 19 1 NetNr 1 packet 1: Answer: Param value out of range Param : $00"}},
        {"xy" + kGood, {sent, "S 2" + stray + "before the answer's start byte)", ok}},
        // The answer check starts again at every start byte.
        {"\x01\x06" "01" + kGood, {sent, "S 4" + stray + "before the answer's start byte)", ok}},
        {kGood + "zz", {sent, ok, "S 2" + stray + "after the answer's end byte)"}},
        {"\x01?GARBAGE?\x04", {sent, "A 11 1 NetNr 1 packet 1: Error Invalid answer packet at ACK"}},
        {kGood.substr(0, 12), {sent, "A 12 1 NetNr 1 packet 1: Error Answer packet incomplete at Data"}},
        // The echo is judged with what came, as the receive box judges it.
        {*buildExtendedPacket(1, 0x41, "Hi"),
         {"P 17 2 NetNr 1 packet 1 sent, Error Invalid answer packet at ACK",
          "S 17" + stray + "an echo of the packet sent)"}},
        // Without an answer the packet carries the verdict.
        {"abc\x04", {"P 17 2 NetNr 1 packet 1 sent, Error Answer packet incomplete at SOT",
                     "S 4" + stray + "no start byte)"}},
        {"", {"P 17 2 NetNr 1 packet 1 sent, no answer"}},
    };
    for (const auto& [answer, frames] : cases)
        EXPECT_EQ(framesOf(answer), frames) << answer;
}

TEST(ExchangeCapture, TheNormalFramingsAnswerIsItsFirstByte)
{
    EXPECT_EQ(framesOf("5xy", false),
              (std::vector<std::string>{"P 6 2 NetNr 1 sent", "A 1 1 NetNr 1: Error: Invalid command.",
                                        "S 2 1 NetNr 1: bytes that made no answer (after the result character)"}));
}

TEST(CaptureFile, WritesEachExchangeFlushedOnceItIsJudged)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("run.pcapng").toStdString();
    const CapturePort port{"/dev/ttyUSB0", "19200 baud, 8N1, RTS on, DTR on"};
    ExchangeRecorder recorder;
    CaptureFile file(recorder);
    recorder.begin(TransmissionPlan{}, true);
    ASSERT_TRUE(file.open(path, captureApplication("lmx"), port).ok);
    const auto judgedSoFar = [&](size_t n) {
        const std::vector<ExchangeRecord> judged(recorder.records().begin(), recorder.records().begin() + n);
        return captureBytes(judged, captureApplication("lmx"), port);
    };
    recorder.packetWritten(*buildExtendedPacket(1, 0x40, "Hi"), 1, 0x40);
    EXPECT_EQ(fileBytes(path), judgedSoFar(0)) << "an exchange is written once judged";
    recorder.answerReceived(sim::answerPacket(1, 0x40, "0000"));
    EXPECT_EQ(fileBytes(path), judgedSoFar(1)) << "in the file while it is open";
    recorder.packetWritten(*buildExtendedPacket(1, 0x81, "Ho"), 1, 0x81);
    recorder.transmissionEnded(TransmissionEnd::Stopped);
    EXPECT_EQ(fileBytes(path), judgedSoFar(2)) << "stopped before its answer";
    EXPECT_TRUE(file.close().ok);
    EXPECT_NE(fileBytes(path).find("Orvanta lmx " ORVANTA_VERSION), std::string::npos);
}

TEST(CaptureFile, AFileThatCannotBeWrittenSaysWhy)
{
    QTemporaryDir dir;
    const std::string readOnly = dir.filePath("ro.pcapng").toStdString();
    QFile(QString::fromStdString(readOnly)).open(QIODevice::WriteOnly);
    QFile::setPermissions(QString::fromStdString(readOnly), QFile::ReadOwner);
    for (const auto& [path, detail] : {std::pair{std::string("/nonexistent/c.pcapng"), std::string("No such file or directory")},
                                       {"/dev/null", "/dev/null is a device, not a regular file."},
                                       {readOnly, readOnly + " is read-only."}}) {
        ExchangeRecorder recorder;
        CaptureFile file(recorder);
        const WriteResult r = file.open(path, "Orvanta test", {"COM1", ""});
        EXPECT_EQ(r.message + "\n" + r.detail, "Failed to create capture file " + path + ".\n" + detail);
        EXPECT_FALSE(file.isOpen());
    }
}

TEST(CaptureFile, ThePortIsDescribedByItsLineSettings)
{
    TSerialSettings server;
    server.PortName = " tcp://10.0.0.5:4001 ";
    EXPECT_EQ(capturePortOf(TSerialSettings()).lineSettings, "19200 baud, 8N1, RTS on, DTR on");
    EXPECT_EQ(capturePortOf(server).name, "tcp://10.0.0.5:4001");
    EXPECT_EQ(capturePortOf(server).lineSettings, "line settings of the device server");
}

TEST(CaptureFile, ANewCaptureInAFolderNeverTakesAnExistingName)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const LocalDateTime t{2024, 3, 31, 14, 5, 9, 7};
    for (const char* name : {"/orvanta-20240331-140509-007.pcapng", "/orvanta-20240331-140509-007-2.pcapng"}) {
        EXPECT_EQ(captureFilePath(folder, t), folder + name);
        QFile(QString::fromStdString(folder + name)).open(QIODevice::WriteOnly);
    }
}
