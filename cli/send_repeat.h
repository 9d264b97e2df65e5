#pragma once
// lmx send --repeat / --duration: the command list as repeat runs, a line for each run, the
// statistics at the end, and the reports written as the runs go.

#include "bus/repeat_run.h"

#include <string>

struct SendOptions;

namespace lmx {
class CaptureFile;
class ExchangeRecorder;
} // namespace lmx

struct RepeatSend {
    const SendOptions& options;
    lmx::RepeatRun& repeat;
    lmx::ExchangeRecorder& recorder;
    lmx::CaptureFile& capture;
    lmx::RepeatRun::Target target;
    size_t packetSize = 240; // of the plans of displays never reached
};

// Runs the repeat and returns the exit code: 0 when every run passed, 1 when a run failed
// or the runs were interrupted, 2 when a report could not be written. `interrupts` counts
// the Ctrl+C seen so far (read at the end: more than one ended the run at once).
int sendRepeatedly(const RepeatSend& send, const int& interrupts);
