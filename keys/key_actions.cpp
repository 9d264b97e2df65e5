#include "key_actions.h"

#include "editor/action_button.h"
#include "key_def_form.h"
#include "platform/latin1.h"

#include <QAction>
#include <QFontMetrics>
#include <QMenu>
#include <QWidget>

namespace {

KeyDefinitionAsker& askerFor(KeyDefinitionAsker* given, std::unique_ptr<KeyDefinitionAsker>& own,
                             UserDialogs& dialogs, QWidget* owner)
{
    if (given)
        return *given;
    own = std::make_unique<QtKeyDefinitionAsker>(dialogs, owner);
    return *own;
}

// A caption shown as it stands: an ampersand in a key's caption is not an accelerator.
QString literalCaption(const std::string& caption)
{
    return latin1(caption).replace(QLatin1Char('&'), QLatin1String("&&"));
}

} // namespace

KeyActions::KeyActions(CommandBox& box, UserDialogs& dialogs, QWidget* owner,
                       KeyDefinitionAsker* asker)
    : QObject(owner),
      m_keys(box, dialogs, askerFor(asker, m_ownAsker, dialogs, owner)),
      m_defMenu(new QMenu(QStringLiteral("Key Definitions"), owner)),
      m_clearMenu(new QMenu(QStringLiteral("Clear Keys"), owner))
{
    m_keys.setStatusHandler([this](const QString& text) { emit statusText(text); });
    for (int i = 0; i < ProgrammableKeys::kKeys; ++i) {
        const QString id = QStringLiteral("Key %1").arg(i + 1);
        m_key[i] = make(id, owner);
        m_keyDef[i] = make(id, owner);
        m_clearKey[i] = make(id, owner);
        m_buttons[i] = new ActionButton(m_key[i], id, owner);
        m_buttons[i]->setObjectName(QStringLiteral("Button%1").arg(i + 1));
        // Wide enough for any defined key's caption ("Key 4 = $FF").
        const QFontMetrics metrics = m_buttons[i]->fontMetrics();
        m_buttons[i]->setMinimumWidth(metrics.horizontalAdvance(QStringLiteral("Key 4 = $FF")) + 12);
        on(m_key[i], [this, i] { m_keys.DoKey(i); });
        on(m_keyDef[i], [this, i] { m_keys.DoKeyDef(i); });
        on(m_clearKey[i], [this, i] { m_keys.DoClearKey(i); });
    }
    DoKey1 = m_key[0], DoKey2 = m_key[1], DoKey3 = m_key[2], DoKey4 = m_key[3];
    DoKeyDef1 = m_keyDef[0], DoKeyDef2 = m_keyDef[1], DoKeyDef3 = m_keyDef[2], DoKeyDef4 = m_keyDef[3];
    DoClearKey1 = m_clearKey[0], DoClearKey2 = m_clearKey[1], DoClearKey3 = m_clearKey[2],
    DoClearKey4 = m_clearKey[3];
    Button1 = m_buttons[0], Button2 = m_buttons[1], Button3 = m_buttons[2], Button4 = m_buttons[3];

    DoClearAllKeys = make(QStringLiteral("All"), owner);
    DoLoadKeys = make(QStringLiteral("Load Keys"), owner);
    DoSaveKeys = make(QStringLiteral("Save Keys"), owner);
    on(DoClearAllKeys, [this] { m_keys.DoClearAllKeys(); });
    on(DoLoadKeys, [this] { m_keys.DoLoadKeys(); });
    on(DoSaveKeys, [this] { m_keys.DoSaveKeys(); });

    m_defMenu->addActions({DoKeyDef1, DoKeyDef2, DoKeyDef3, DoKeyDef4});
    m_clearMenu->addActions({DoClearKey1, DoClearKey2, DoClearKey3, DoClearKey4});
    m_clearMenu->addSeparator();
    m_clearMenu->addAction(DoClearAllKeys);
    ClearKeysEnable = m_clearMenu->menuAction();
    // The menus ask before they open, so a key bound meanwhile (a command file) is seen.
    connect(m_defMenu, &QMenu::aboutToShow, this, &KeyActions::update);
    connect(m_clearMenu, &QMenu::aboutToShow, this, &KeyActions::update);
    update();
}

KeyActions::~KeyActions() = default;

QAction* KeyActions::make(const QString& caption, QWidget* owner)
{
    return new QAction(caption, owner);
}

template <class F>
void KeyActions::on(QAction* action, F&& step)
{
    connect(action, &QAction::triggered, this, [this, step] {
        step();
        update();
    });
}

void KeyActions::ClearKeyList()
{
    m_keys.ClearKeyList();
    update();
}

void KeyActions::lockKeyList(bool on)
{
    if (on == m_locked)
        return;
    m_locked = on;
    update();
}

void KeyActions::update()
{
    for (int i = 0; i < ProgrammableKeys::kKeys; ++i) {
        const QString caption = literalCaption(m_keys.buttonCaption(i));
        m_key[i]->setText(caption);
        m_key[i]->setEnabled(m_keys.keyEnabled(i));
        m_buttons[i]->setText(caption);
        m_keyDef[i]->setEnabled(m_keys.keyDefEnabled(i));
        m_clearKey[i]->setEnabled(!m_locked && m_keys.clearKeyEnabled(i));
    }
    const bool any = m_keys.anyKeyDefined();
    DoClearAllKeys->setEnabled(any && !m_locked);
    ClearKeysEnable->setEnabled(any && !m_locked);
    DoSaveKeys->setEnabled(any);
    DoLoadKeys->setEnabled(!m_locked);
}

void KeyActions::loadKeyFile(const QString& path)
{
    m_keys.loadKeyFile(path);
    update();
}
