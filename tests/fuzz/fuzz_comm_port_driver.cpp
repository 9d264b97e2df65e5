// The serial port driver driven by any sequence of setter calls, connects, arriving bytes,
// polls, writes and port failures on a fake port: no chunk or packet may be larger than the
// receive buffer, and the property rules must hold after every step.
#include "fuzz_support.h"

#include "port/comm_port_driver.h"
#include "tests/port/fake_serial_backend.h"

#include <QCoreApplication>

#include <memory>

using namespace lmx;
using fuzz::check;

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv)
{
    static QCoreApplication app(*argc, *argv); // timers need an event dispatcher
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    serialtest::ManualClock clock;
    clock.setStepPerReading(1); // every wait for room ends
    auto backend = std::make_unique<serialtest::FakeSerialBackend>();
    serialtest::FakeSerialBackend* fake = backend.get();
    TCommPortDriver driver(std::move(backend), clock);
    auto deliver = [&](TCommPortDriver*, const char* p, uint32_t n) {
        check(n > 0 && n <= driver.InBufSize());
        volatile char touch = p[0] ^ p[n - 1]; // the whole range must be readable
        (void)touch;
    };
    driver.SetOnReceiveData(deliver);
    driver.SetOnReceivePacket([&](TCommPortDriver* d, const char* p, uint32_t n) {
        check(n <= static_cast<uint32_t>(d->PacketSize()));
        deliver(d, p, n);
    });

    fuzz::Input in(data, size);
    while (!in.empty()) {
        switch (in.byte() % 14) {
        case 0: driver.SetPacketSize(static_cast<int16_t>(in.word())); break;
        case 1: driver.SetInBufSize(in.word()); break;
        case 2: driver.Connect(); break;
        case 3: driver.Disconnect(); break;
        case 4: fake->arrive(in.bytes(in.word() % 20000)); break;
        case 5: driver.ReceivePoll(); break;
        case 6: clock.advance(in.byte() * 4); break;
        case 7: driver.SetPacketTimeout(static_cast<int16_t>(in.word())); break;
        case 8: driver.SetPacketMode(in.byte() & 1 ? pmPass : pmDiscard); break;
        case 9: driver.SetPollingDelay(in.byte()); break;
        case 10: driver.SetBaudRateValue(in.word() * (in.byte() + 1u)); break;
        case 11:
            fake->failPort();
            QCoreApplication::processEvents();
            break;
        case 12: {
            fake->writeLimit = in.byte() % 4;
            fake->holdWritten = in.byte() & 1;
            const std::string out = in.bytes(in.byte());
            check(driver.SendData(out.data(), static_cast<uint32_t>(out.size()), in.byte())
                  <= out.size());
            break;
        }
        case 13: driver.SetOutBufSize(in.word()); break;
        }
        check(driver.InBufSize() >= TCommPortDriver::kMinBufSize
              && driver.InBufSize() <= TCommPortDriver::kMaxBufSize);
        check(driver.PacketSize() == -1
              || (driver.PacketSize() >= 1
                  && static_cast<uint32_t>(driver.PacketSize()) <= driver.InBufSize()));
        check(driver.PacketTimeout() == -1 || driver.PacketTimeout() >= 1);
        check(driver.PollingDelay() >= TCommPortDriver::kMinPollingDelay);
        check(driver.OutFreeSpace() <= 65535u);
        if (driver.Connected())
            check(driver.Polling());
    }
    return 0;
}
