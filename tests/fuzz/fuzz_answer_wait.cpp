// The answer wait and the bus scan on a line that streams whatever the input holds: chunks of
// any size, end bytes anywhere, time-outs and stops between them. No wait may keep more than
// an answer can be, an overlong answer that fails fails as too long, and a scan counts a
// number as a display only for a well-formed answer.
#include "fuzz_support.h"

#include "bus/bus_scanner.h"
#include "protocol/answer.h"
#include "tests/port/fake_serial_backend.h"
#include "transmission/packet_exchange.h"
#include "tests/support/scripted_dialogs.h"

#include <QCoreApplication>

using namespace lmx;
using fuzz::check;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    serialtest::ManualClock clock;
    auto backend = std::make_unique<serialtest::FakeSerialBackend>();
    serialtest::FakeSerialBackend* fake = backend.get();
    TCommPortDriver driver(std::move(backend), clock);
    ScriptedDialogs dialogs;
    PacketExchange exchange(driver, dialogs);
    BusScanner scanner(exchange);
    const auto judge = [](const std::string& answer) {
        check(answer.size() <= kMaxAnswerBytes);
        const AnswerParse p = parseExtendedAnswer(answer, 1, 0);
        check(p.ok || answer.size() < kMaxAnswerBytes || p.errorCode == answer_error::TooLong);
    };
    exchange.SetAnswerHandler(judge);

    fuzz::Input in(data, size);
    while (!in.empty()) {
        switch (in.byte() % 6) {
        case 0: // a packet of its own, awaited as long as the next byte says
            exchange.SetExtendedLmx(in.byte() & 1);
            exchange.SetAnswerTimeout(in.byte() % 2);
            exchange.SendPacket("\x01\x05" "01FE0003" "\x1B\xA0" "1" "CD43" "\x04");
            break;
        case 1: { // a scan of a few numbers
            BusScanner::Setup setup;
            setup.from = 1 + in.byte() % 8;
            setup.to = setup.from + in.byte() % 8;
            setup.extended = in.byte() & 1;
            scanner.start(setup);
            break;
        }
        case 2: // the line streams a chunk, read as the driver reads it
            fake->arrive(in.bytes(in.word() % 20000));
            for (int polls = 0; polls < 100 && !fake->incoming.empty() && driver.Connected(); ++polls)
                driver.ReceivePoll();
            break;
        case 3: QCoreApplication::processEvents(); break; // a time-out of 0 or 1 ms ends
        case 4: scanner.requestStop(in.byte() & 1); break;
        case 5:
            fake->failPort();
            QCoreApplication::processEvents();
            break;
        }
        check(exchange.bytesReceived().size() <= kMaxAnswerBytes);
        check(scanner.displaysAnswered() <= static_cast<int>(scanner.answers().size()));
        for (const ScanAnswer& a : scanner.answers())
            check(!a.display || a.result.rfind("noise", 0) != 0);
        for (const ExchangeRecord& r : scanner.recorder().records())
            check(r.answer.size() <= kMaxAnswerBytes);
    }
    scanner.requestStop(true);
    exchange.Abort();
    return 0;
}
