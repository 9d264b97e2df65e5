#pragma once
// A copy of lmx (LMX_BINARY) in a folder of its own, so that its settings file and log are the
// test's and no settings file of the build is read.

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

struct LmxCopy {
    LmxCopy() { QFile::copy(LMX_BINARY, path); }
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
