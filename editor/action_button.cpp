#include "action_button.h"

#include <QAction>

ActionButton::ActionButton(QAction* action, const QString& caption, QWidget* parent)
    : QPushButton(caption, parent), m_action(action)
{
    // A click leaves the focus (and so the selection) in the command box.
    setFocusPolicy(Qt::TabFocus);
    connect(action, &QAction::changed, this, &ActionButton::follow);
    connect(this, &QPushButton::clicked, action, [this] {
        if (m_action && m_action->isEnabled())
            m_action->trigger();
    });
    follow();
}

void ActionButton::follow()
{
    if (!m_action)
        return;
    setEnabled(m_action->isEnabled());
}
