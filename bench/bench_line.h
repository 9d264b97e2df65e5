#pragma once
// What the benchmarks of the line share: user dialogs that only tell a message on stderr (and
// count it), and a virtual display in this process, started.

#include "platform/user_dialogs.h"
#include "sim/sim_server.h"

#include <cstdio>
#include <string>

class SilentDialogs : public UserDialogs {
public:
    void message(const QString& text, const QString&, Icon) override
    {
        std::fprintf(stderr, "message: %s\n", qPrintable(text));
        ++messages;
    }
    Answer askYesNo(const QString&, const QString&, Icon) override { return Answer::No; }
    Answer askYesNoCancel(const QString&, const QString&, Icon) override { return Answer::Cancel; }
    QString openFileName(const FileRequest&) override { return {}; }
    QString saveFileName(const FileRequest&) override { return {}; }
    void beep() override {}
    int messages = 0;
};

// A virtual display for network number 1 on a terminal of its own.
inline lmx::sim::SimOptions displayOne()
{
    lmx::sim::SimOptions options;
    options.netNrs = {1};
    return options;
}

// The display's terminal once started; empty (and told on stderr) when it did not start.
inline std::string startedDisplay(lmx::sim::SimServer& server)
{
    const std::string path = server.start();
    if (path.empty())
        std::fprintf(stderr, "no virtual display: %s\n", server.errorText().c_str());
    return path;
}
