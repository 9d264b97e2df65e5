#pragma once
// A copy of lmx (LMX_BINARY) in a folder of its own, so that its settings file and log are the
// test's and no settings file of the build is read.

#include <QByteArray>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <csignal>

// How a run of lmx ended: its exit code and what it wrote.
struct LmxRun {
    int exitCode = -1;
    QString out;
    QString err;

    QStringList lines() const { return out.split('\n', Qt::SkipEmptyParts); }
};

// Runs `program ARGS` to its end, at most `timeoutMs`.
inline LmxRun runLmx(const QString& program, const QStringList& args, int timeoutMs = 90000)
{
    QProcess p;
    p.start(program, args);
    p.waitForFinished(timeoutMs);
    return {p.exitCode(), QString::fromLatin1(p.readAllStandardOutput()),
            QString::fromLatin1(p.readAllStandardError())};
}

struct LmxCopy {
    LmxCopy() { QFile::copy(LMX_BINARY, path); }
    LmxRun run(const QStringList& args, int timeoutMs = 90000) const
    {
        return runLmx(path, args, timeoutMs);
    }
    // Writes `text` to `name` in the folder and gives its path.
    QString file(const char* name, const char* text) const
    {
        QFile f(dir.filePath(name));
        f.open(QIODevice::WriteOnly);
        f.write(text);
        return f.fileName();
    }
    QTemporaryDir dir;
    QString path = dir.filePath("lmx");
};

inline QByteArray readAll(const QString& name)
{
    QFile f(name);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// Reads the running program's output until it holds `text` (10 s at most), then sends Ctrl+C.
inline QByteArray interruptAfter(QProcess& p, const char* text)
{
    QByteArray out;
    QElapsedTimer t;
    t.start();
    while (!out.contains(text) && t.elapsed() < 10000 && p.waitForReadyRead(1000))
        out += p.readAllStandardOutput();
    ::kill(static_cast<pid_t>(p.processId()), SIGINT);
    return out;
}
