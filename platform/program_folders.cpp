#include "program_folders.h"

#include <QDir>
#include <QFile>
#include <QStandardPaths>

namespace lmx {

namespace {

std::string localPath(const QString& path)
{
    return QFile::encodeName(path).toStdString();
}

} // namespace

SettingsPlaces programSettingsPlaces(const QString& programFolder)
{
    // The generic folders with the window program's name: what the window's own
    // AppConfigLocation and AppLocalDataLocation are, whichever program asks.
    const QString name = QString::fromLatin1(kProgramFolderName);
    const QString config =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation)).filePath(name);
    const QString data =
            QDir(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)).filePath(name);
    const std::string program = localPath(programFolder);
    return settingsPlaces(program, programFolderIsUsers(program), localPath(config), localPath(data));
}

} // namespace lmx
