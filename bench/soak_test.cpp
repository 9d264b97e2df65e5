// The soak's verdicts: what it counts from the virtual display's lines and how it reads its
// own memory. A miscount here would pass a soak that should fail.
#include "soak_memory.h"
#include "soak_tally.h"

#include <gtest/gtest.h>

using namespace lmx::soak;

namespace {

std::string packetLine(const char* result, const char* answer, const char* text = "ab")
{
    return std::string("PACKET netnr=1 packet=40 length=2 result=") + result + " answer=" + answer +
           " text='" + text + "' hex='61 62'";
}

} // namespace

TEST(SoakTally, CountsFaultsByKindAndWhetherTheClientWentOn)
{
    SoakTally t;
    t.addDisplayLine("/dev/pts/7"); // not a record line
    t.addDisplayLine(packetLine("00", "fault-bad-crc"));
    t.addDisplayLine(packetLine("00", "fault-code-15"));
    // a text that looks like fields counts for nothing
    t.addDisplayLine(packetLine("00", "sent", "x answer=fault-slow result=15"));
    t.addDisplayLine(packetLine("00", "fault-code-10"));
    t.addDisplayLine(packetLine("15", "sent"));
    t.addDisplayLine(packetLine("00", "broadcast"));
    t.addDisplayLine(
        "PACKET netnr=9 packet=00 length=1 result=-- answer=other-netnr text='a' hex='61'");
    t.addDisplayLine("DROPPED reason='noise' text='zz' hex='7A 7A'");
    t.addDisplayLine(packetLine("00", "fault-no-answer"));

    EXPECT_EQ(t.displayPackets(), 8u);
    EXPECT_EQ(t.soundAnswers(), 1u);
    EXPECT_EQ(t.contentRefusals(), 1u);
    EXPECT_EQ(t.dropped(), 1u);
    EXPECT_EQ(t.faults(), 4u);
    EXPECT_EQ(t.faultsByKind(),
              (std::map<std::string, size_t>{{"bad-crc", 1}, {"code", 2}, {"no-answer", 1}}));
    EXPECT_EQ(t.faultsByLabel().at("code-15"), 1u);
    // a sound answer came after bad-crc; none after the last code and no-answer faults (a
    // refusal, a broadcast or another display's packet is no sound answer)
    EXPECT_TRUE(t.wentOnAfter("bad-crc"));
    EXPECT_FALSE(t.wentOnAfter("code"));
    EXPECT_FALSE(t.wentOnAfter("no-answer"));
    EXPECT_FALSE(t.wentOnAfter("slow")); // never came
    t.addDisplayLine(packetLine("00", "sent"));
    EXPECT_TRUE(t.wentOnAfter("code"));
    EXPECT_TRUE(t.wentOnAfter("no-answer"));

    t.addMessage("Error Invalid answer CRC at CRC");
    t.addMessage("Error Invalid answer CRC at CRC");
    t.addMessage("Answer: Time out Param : $00");
    EXPECT_EQ(t.messages(), 3u);
    EXPECT_EQ(t.messagesByText().size(), 2u);
}

TEST(SoakMemory, ReadsTheKernelsFiguresAndTheirGrowth)
{
    const char* status = "Name:\tsoak\n"
                         "VmPeak:\t  900000 kB\n"
                         "VmHWM:\t   51200 kB\n"
                         "VmRSS:\t   50000 kB\n"
                         "RssAnon:\t   40000 kB\n";
    const MemorySample s = parseProcStatus(status);
    EXPECT_EQ(s.peakKb, 51200);
    EXPECT_EQ(s.rssKb, 50000);

    EXPECT_FALSE(parseProcStatus("Name:\tsoak\nVmHWM:\t 1 kB\n").valid());
    EXPECT_FALSE(parseProcStatus("VmHWM:\t x kB\nVmRSS:\t 1 kB\n").valid());
    // only a field at the start of its line counts
    EXPECT_FALSE(parseProcStatus("XVmHWM:\t 5 kB\nVmRSS:\t 1 kB\n").valid());

    MemorySample early{1000, 1000};
    MemorySample late{900, 1100};
    EXPECT_DOUBLE_EQ(peakGrowth(early, late).value(), 0.10);
    EXPECT_FALSE(peakGrowth(MemorySample{}, late).has_value());

    // this kernel reports both, and the peak is never below what is resident
    const MemorySample self = sampleMemory();
    ASSERT_TRUE(self.valid());
    EXPECT_GE(self.peakKb, self.rssKb);
    EXPECT_GT(self.rssKb, 0);
}
