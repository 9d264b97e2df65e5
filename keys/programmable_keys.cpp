#include "programmable_keys.h"

#include "commandbox/command_box.h"
#include "files/key_file.h"

#include <QFile>
#include <QFileInfo>

namespace {

bool validIndex(int i)
{
    return i >= 0 && i < ProgrammableKeys::kKeys;
}

std::string localName(const QString& name)
{
    return QFile::encodeName(name).toStdString();
}

QString shownMessage(const std::string& message)
{
    return QFile::decodeName(QByteArray::fromStdString(message));
}

// The name as the file dialogs complete it: with the key file extension when it has none.
QString withSuffix(const QString& name, bool mustExist)
{
    if (!QFileInfo(name).suffix().isEmpty() || (mustExist && QFileInfo::exists(name)))
        return name;
    return name + '.' + QLatin1String(ProgrammableKeys::kSuffix);
}

} // namespace

ProgrammableKeys::ProgrammableKeys(CommandBox& box, UserDialogs& dialogs, KeyDefinitionAsker& asker)
    : m_box(box), m_dialogs(dialogs), m_asker(asker)
{
}

std::string ProgrammableKeys::buttonCaption(int i) const
{
    const lmx::TKeyDefinition& k = key(i);
    return k.Enabled ? k.ButtonCaption : k.Id;
}

void ProgrammableKeys::status(const QString& text)
{
    if (m_status)
        m_status(text);
}

bool ProgrammableKeys::DoKey(int i)
{
    if (!validIndex(i) || !keyEnabled(i))
        return false;
    const lmx::TKeyDefinition& k = key(i);
    m_box.InsertCommandLine(k.CommandStr, k.CommandHexData);
    return true;
}

bool ProgrammableKeys::DoKeyDef(int i)
{
    if (!validIndex(i) || !keyDefEnabled(i))
        return false;
    status(QStringLiteral("Modifying Settings Key %1").arg(i + 1));
    const bool defined = m_asker.defineKey(m_keys[static_cast<size_t>(i)]);
    status(QLatin1String(kReady));
    return defined;
}

bool ProgrammableKeys::DoClearKey(int i)
{
    if (!validIndex(i) || !clearKeyEnabled(i))
        return false;
    lmx::TKeyDefinition& k = m_keys[static_cast<size_t>(i)];
    const QString question = "Are you sure to clear " + QString::fromLatin1(k.ButtonCaption.c_str())
                           + " ?";
    if (m_dialogs.askYesNo(question, QString(), UserDialogs::Icon::Question) != UserDialogs::Answer::Yes)
        return false;
    k.ClearKey();
    return true;
}

bool ProgrammableKeys::DoClearAllKeys()
{
    if (!anyKeyDefined())
        return false;
    if (m_dialogs.askYesNo(QLatin1String(kClearAllQuestion), QString(), UserDialogs::Icon::Question)
        != UserDialogs::Answer::Yes)
        return false;
    ClearKeyList();
    return true;
}

void ProgrammableKeys::ClearKeyList()
{
    for (lmx::TKeyDefinition& k : m_keys)
        k.ClearKey();
}

UserDialogs::FileRequest ProgrammableKeys::fileRequest(const char* title, bool save) const
{
    UserDialogs::FileRequest r;
    r.title = QLatin1String(title);
    r.filter = QLatin1String(kFilter);
    r.defaultSuffix = QLatin1String(kSuffix);
    r.confirmOverwrite = save && m_checkFileReplace;
    return r;
}

bool ProgrammableKeys::DoSaveKeys()
{
    if (!anyKeyDefined())
        return false;
    status(QStringLiteral("Save Keys"));
    const QString chosen = m_dialogs.saveFileName(fileRequest(kSaveTitle, true));
    bool saved = false;
    if (!chosen.isEmpty()) {
        const lmx::WriteResult result = lmx::writeKeyFile(localName(withSuffix(chosen, false)), m_keys);
        if (result.ok)
            saved = true;
        else
            m_dialogs.detailedWarning(shownMessage(result.message), shownMessage(result.detail));
    }
    status(QLatin1String(kReady));
    return saved;
}

bool ProgrammableKeys::DoLoadKeys()
{
    status(QStringLiteral("Load Keys"));
    const QString chosen = m_dialogs.openFileName(fileRequest(kLoadTitle, false));
    const bool changed = !chosen.isEmpty() && readKeys(withSuffix(chosen, true));
    status(QLatin1String(kReady));
    return changed;
}

bool ProgrammableKeys::loadKeyFile(const QString& path)
{
    status(QStringLiteral("Load Keys"));
    readKeys(path);
    status(QLatin1String(kReady));
    return true;
}

bool ProgrammableKeys::readKeys(const QString& path)
{
    const std::string message = lmx::readKeyFile(localName(path), m_keys);
    if (!message.empty())
        m_dialogs.warning(shownMessage(message));
    return true; // read, or every key cleared by the failure
}
