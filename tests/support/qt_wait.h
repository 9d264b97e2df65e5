#pragma once
// Shared by the Qt tests: waiting on a condition with a deadline while the event loop runs,
// running what is due now, and readable QStrings in failure messages.

#include <QCoreApplication>
#include <QString>
#include <QtCore/qtestsupport_core.h>

#include <functional>
#include <ostream>

inline void PrintTo(const QString& s, std::ostream* os)
{
    *os << '"' << s.toStdString() << '"';
}

namespace testsupport {

// Runs the event loop until `condition` holds or `timeoutMs` have passed.
inline bool waitUntil(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    return QTest::qWaitFor(condition, timeoutMs);
}

// Runs what is due now (zero-time timers, posted events) and returns.
inline void runPending()
{
    for (int i = 0; i < 3; ++i)
        QCoreApplication::processEvents();
}

} // namespace testsupport
