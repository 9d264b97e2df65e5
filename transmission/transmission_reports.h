#pragma once
// What a transmission tells the world besides message boxes (those go through UserDialogs):
// the lines of the receive box, the busy cursor and the data answers for the answer
// templates. The main window, lmx send and the tests each plug in their own.

#include <string>

namespace lmx {

// The receive box: one text line per event of a transmission, Latin-1.
class ReceiveLog {
public:
    virtual ~ReceiveLog() = default;
    // Emptied at the start of every transmission.
    virtual void clear() = 0;
    virtual void addLine(const std::string& line) = 0;
};

// The arrow-with-hourglass cursor on the four lists while the engine waits.
class BusyIndicator {
public:
    virtual ~BusyIndicator() = default;
    virtual void setBusy(bool busy) = 0;
};

// Receives the data bytes of every answer that carries data (acknowledge parameter 1).
class AnswerDataSink {
public:
    virtual ~AnswerDataSink() = default;
    virtual void answerData(const std::string& data) = 0;
};

} // namespace lmx
