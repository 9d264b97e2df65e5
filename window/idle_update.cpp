#include "idle_update.h"

#include <QCoreApplication>
#include <QEvent>

IdleUpdate::IdleUpdate(std::function<void()> step, QObject* parent)
    : QObject(parent), m_step(std::move(step))
{
    m_timer.setSingleShot(true);
    m_timer.setInterval(0);
    connect(&m_timer, &QTimer::timeout, this, &IdleUpdate::runNow);
    if (QCoreApplication::instance())
        QCoreApplication::instance()->installEventFilter(this);
}

IdleUpdate::~IdleUpdate()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void IdleUpdate::schedule()
{
    if (!m_timer.isActive())
        m_timer.start();
}

void IdleUpdate::runNow()
{
    m_timer.stop();
    if (m_step)
        m_step();
}

bool IdleUpdate::eventFilter(QObject* watched, QEvent* event)
{
    switch (event->type()) {
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick:
    case QEvent::Wheel:
    case QEvent::FocusIn:
    case QEvent::FocusOut:
    case QEvent::Shortcut:
    case QEvent::Drop:
    case QEvent::WindowActivate:
    case QEvent::WindowUnblocked: // a modal dialog returned: its caller may have changed much
        schedule();
        break;
    default:
        break;
    }
    return QObject::eventFilter(watched, event);
}
