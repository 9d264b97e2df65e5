#include "main_status_bar.h"

#include "led_panel.h"

#include <QLabel>
#include <QResizeEvent>

TMainStatusBar::TMainStatusBar(QWidget* parent)
    : QStatusBar(parent), m_text(new QLabel(this)), m_leds(new TLedPanel(this))
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    m_text->setObjectName(QStringLiteral("StatusText"));
    m_text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_text->setIndent(2);
    addWidget(m_text);
    addPermanentWidget(m_leds);
    setStatusText(QString::fromLatin1(kReady));
}

void TMainStatusBar::setStatusText(const QString& text)
{
    m_text->setText(text);
}

QString TMainStatusBar::statusText() const
{
    return m_text->text();
}

void TMainStatusBar::resizeEvent(QResizeEvent* event)
{
    m_text->setFixedWidth(std::max(0, event->size().width() - kTextPanelMargin));
    QStatusBar::resizeEvent(event);
}
