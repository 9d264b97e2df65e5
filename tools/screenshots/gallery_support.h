#pragma once
// What the screenshot programs share: letting the windows settle, an area of the screen saved
// as a PNG file, and the "ready" line the scripts wait for before they take their own picture.

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRect>
#include <QString>
#include <QWidget>

#include <cstdio>

namespace gallery {

inline void settle(int ms)
{
    QElapsedTimer t;
    t.start();
    while (t.elapsed() < ms)
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
}

// The area with a margin of 10 pixels as DIR/NAME.png, through ImageMagick's import of the
// screen; prints what it wrote and returns false when import failed.
inline bool grabScreen(QRect r, const QString& dir, const char* name)
{
    r.adjust(-10, -10, 10, 10);
    const QString geometry = QStringLiteral("%1x%2+%3+%4")
                                     .arg(r.width())
                                     .arg(r.height())
                                     .arg(qMax(0, r.x()))
                                     .arg(qMax(0, r.y()));
    const QString file = QDir(dir).filePath(QString::fromLatin1(name) + ".png");
    const int rc = QProcess::execute(QStringLiteral("import"),
                                     {"-window", "root", "-crop", geometry, "+repage", file});
    std::printf("%s %s\n", rc == 0 ? "wrote" : "FAILED", qPrintable(file));
    return rc == 0;
}

// The window's own picture into `out` (when given), then "ready" on stdout.
inline void announceReady(QWidget& window, const QString& out)
{
    QApplication::processEvents();
    if (!out.isEmpty())
        window.grab().save(out);
    std::printf("ready\n");
    std::fflush(stdout);
}

} // namespace gallery
