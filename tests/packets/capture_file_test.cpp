// Capture files: written as the recorder judges each exchange, flushed at once, the same bytes
// as a whole capture of the records; what a file or folder that cannot take them gives; the
// interface's port and line settings; the names of the files in a capture folder.
#include "packets/capture_file.h"
#include "packets/exchange_recorder.h"
#include "packets/pcapng.h"
#include "pcapng_reader.h"
#include "protocol/framing.h"
#include "sim/answer_writer.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace lmx;
using namespace pcapngtest;

namespace {

std::string fileBytes(const std::string& path)
{
    QFile f(QString::fromStdString(path));
    return f.open(QIODevice::ReadOnly) ? f.readAll().toStdString() : std::string();
}

size_t blockCount(const std::string& path)
{
    return readBlocks(fileBytes(path)).size();
}

// Sends one packet to display 1 through the recorder, as the engine tells it.
void sendOne(ExchangeRecorder& recorder, uint8_t packetNr)
{
    recorder.packetWritten(*buildExtendedPacket(1, packetNr, "Hi"), 1, packetNr);
}

const CapturePort kPort{"/dev/ttyUSB0", "19200 baud, 8N1, RTS on, DTR on"};

} // namespace

TEST(CaptureFile, WritesEachExchangeOnceItIsJudgedAndFlushesIt)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("run.pcapng").toStdString();
    ExchangeRecorder recorder;
    CaptureFile file(recorder);
    recorder.begin(TransmissionPlan{}, true);
    ASSERT_TRUE(file.open(path, "Orvanta test", kPort).ok);
    EXPECT_EQ(blockCount(path), 2u) << "the section header and the port";

    sendOne(recorder, 0x40);
    EXPECT_EQ(blockCount(path), 2u) << "an exchange awaiting its answer is not written yet";
    recorder.answerReceived(sim::answerPacket(1, 0x40, "0000"));
    EXPECT_EQ(blockCount(path), 4u) << "the packet and its answer, in the file while it is open";

    sendOne(recorder, 0x81);
    recorder.transmissionEnded(TransmissionEnd::Stopped);
    EXPECT_EQ(blockCount(path), 5u) << "a packet stopped before its answer";

    EXPECT_TRUE(file.close().ok);
    EXPECT_EQ(fileBytes(path), captureBytes(recorder.records(), "Orvanta test", kPort));
}

TEST(CaptureFile, ANewTransmissionIsWrittenFromItsFirstExchange)
{
    QTemporaryDir dir;
    ExchangeRecorder recorder;
    CaptureFile file(recorder);
    recorder.begin(TransmissionPlan{}, true);
    sendOne(recorder, 0);
    recorder.answerReceived("");
    recorder.transmissionEnded(TransmissionEnd::Completed);

    const std::string path = dir.filePath("second.pcapng").toStdString();
    ASSERT_TRUE(file.open(path, "Orvanta test", kPort).ok);
    recorder.begin(TransmissionPlan{}, true); // drops the records before
    sendOne(recorder, 0);
    recorder.answerReceived("");
    const std::vector<Packet> packets = readPackets(fileBytes(path));
    ASSERT_EQ(packets.size(), 1u);
    EXPECT_EQ(packets[0].comment(), "NetNr 1 packet 0 sent, no answer");
}

TEST(CaptureFile, TheFileNamesTheProgramWithItsVersionAndThePort)
{
    QTemporaryDir dir;
    const std::string path = dir.filePath("c.pcapng").toStdString();
    ExchangeRecorder recorder;
    CaptureFile file(recorder);
    ASSERT_TRUE(file.open(path, captureApplication("lmx"), {"COM\xB5", "9600 baud"}).ok);
    file.close();
    const std::vector<Block> blocks = readBlocks(fileBytes(path));
    ASSERT_EQ(blocks.size(), 2u);
    EXPECT_EQ(optionValue(readOptions(blocks[0].body, 16), pcapng::kShbUserAppl),
              "Orvanta lmx " ORVANTA_VERSION);
    const std::vector<Option> port = readOptions(blocks[1].body, 8);
    EXPECT_EQ(optionValue(port, pcapng::kIfName), "COM\xC2\xB5") << "UTF-8";
    EXPECT_EQ(optionValue(port, pcapng::kIfDescription), "9600 baud");
}

TEST(CaptureFile, AFileThatCannotBeCreatedSaysWhy)
{
    ExchangeRecorder recorder;
    CaptureFile file(recorder);
    const WriteResult r = file.open("/nonexistent-folder/c.pcapng", "Orvanta test", kPort);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Failed to create capture file /nonexistent-folder/c.pcapng.");
    EXPECT_EQ(r.detail, "No such file or directory");
    EXPECT_FALSE(file.isOpen());
}

#ifdef __linux__
TEST(CaptureFile, AWriteThatFailsIsKeptAndNothingMoreIsWritten)
{
    ExchangeRecorder recorder;
    CaptureFile file(recorder);
    recorder.begin(TransmissionPlan{}, true);
    const WriteResult r = file.open("/dev/full", "Orvanta test", kPort);
    EXPECT_FALSE(r.ok);
    EXPECT_EQ(r.message, "Failed to write to capture file /dev/full.");
    EXPECT_EQ(r.detail, "No space left on device");
    sendOne(recorder, 0);
    recorder.answerReceived("");
    EXPECT_EQ(file.close().message, r.message) << "the first failure is the one told";
}
#endif

TEST(CaptureFile, ThePortIsDescribedByItsLineSettings)
{
    TSerialSettings defaults;
    TSerialSettings other;
    other.PortName = " /dev/ttyUSB1 ";
    other.Baudrate = "115200";
    other.DataBits = 2;
    other.Parity = 2;
    other.StopBits = 2;
    other.HwFlow = 2;
    other.SwFlow = 1;
    other.DTRCtrl = 1;
    TSerialSettings server;
    server.PortName = "tcp://10.0.0.5:4001";
    const struct {
        TSerialSettings serial;
        CapturePort port;
    } cases[] = {
        {defaults, {"\\\\.\\COM1", "19200 baud, 8N1, RTS on, DTR on"}},
        {other, {"/dev/ttyUSB1", "115200 baud, 7E2, RTS/CTS, XON/XOFF"}},
        {server, {"tcp://10.0.0.5:4001", "line settings of the device server"}},
    };
    for (const auto& c : cases) {
        const CapturePort port = capturePortOf(c.serial);
        EXPECT_EQ(port.name, c.port.name);
        EXPECT_EQ(port.lineSettings, c.port.lineSettings) << c.port.name;
    }
}

TEST(CaptureFile, AFolderMustExistToTakeCaptures)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const std::string file = dir.filePath("plain").toStdString();
    QFile(QString::fromStdString(file)).open(QIODevice::WriteOnly);
    EXPECT_EQ(captureFolderProblem(folder), "");
    EXPECT_EQ(captureFolderProblem(""), "No folder is given for the captures.");
    EXPECT_EQ(captureFolderProblem(folder + "/missing"),
              "The capture folder " + folder + "/missing does not exist.");
    EXPECT_EQ(captureFolderProblem(file), "The capture folder " + file + " does not exist.");
}

TEST(CaptureFile, CapturesInAFolderAreNamedByTheirStartAndNeverReplaceOne)
{
    QTemporaryDir dir;
    const std::string folder = dir.path().toStdString();
    const LocalDateTime t{2024, 3, 31, 14, 5, 9, 7};
    const std::string first = captureFilePath(folder, t);
    EXPECT_EQ(first, folder + "/orvanta-20240331-140509-007.pcapng");
    QFile(QString::fromStdString(first)).open(QIODevice::WriteOnly);
    const std::string second = captureFilePath(folder, t);
    EXPECT_EQ(second, folder + "/orvanta-20240331-140509-007-2.pcapng");
    QFile(QString::fromStdString(second)).open(QIODevice::WriteOnly);
    EXPECT_EQ(captureFilePath(folder, t), folder + "/orvanta-20240331-140509-007-3.pcapng");
}
