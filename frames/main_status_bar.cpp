#include "main_status_bar.h"

#include "led_panel.h"

#include <QLabel>
#include <QMouseEvent>
#include <QProgressBar>
#include <QResizeEvent>

#include <algorithm>

namespace {

constexpr int kProgressWidth = 120;
constexpr int kFailuresWidth = 100; // "1000 failures" in bold

} // namespace

TMainStatusBar::TMainStatusBar(QWidget* parent)
    : QStatusBar(parent),
      m_text(new QLabel(this)),
      m_bar(new QProgressBar(this)),
      m_failures(new QLabel(this)),
      m_leds(new TLedPanel(this))
{
    setObjectName(QStringLiteral("StatusBar"));
    setSizeGripEnabled(false);
    m_text->setObjectName(QStringLiteral("StatusText"));
    m_text->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_text->setIndent(2);
    // As wide as fitTextPanel says, but never what keeps the window from shrinking: a
    // minimum width taken from the window's width would hold it at that width for good.
    m_text->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Preferred);
    addWidget(m_text, 1);
    m_bar->setObjectName(QStringLiteral("TransmitProgress"));
    m_bar->setFixedWidth(kProgressWidth);
    m_bar->setMaximumHeight(16);
    m_bar->setTextVisible(false);
    addWidget(m_bar);
    m_failures->setObjectName(QStringLiteral("TransmitFailures"));
    m_failures->setFixedWidth(kFailuresWidth);
    m_failures->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_failures->setIndent(2);
    m_failures->installEventFilter(this);
    addWidget(m_failures);
    m_bar->hide();
    m_failures->hide();
    addPermanentWidget(m_leds);
    setStatusText(QString::fromLatin1(kReady));
}

void TMainStatusBar::setStatusText(const QString& text)
{
    m_status = text;
    m_text->setText(text);
}

void TMainStatusBar::showProgress(int packet, int planned, int failures, const QString& text)
{
    const bool shown = progressShown();
    m_failureCount = failures;
    m_text->setText(text.isEmpty() ? QStringLiteral("Packet %1 of %2").arg(packet).arg(planned) : text);
    m_bar->setRange(0, std::max(planned, 1));
    m_bar->setValue(std::clamp(packet, 0, std::max(planned, 1)));
    const QString failuresText = failures == 1 ? QStringLiteral("1 failure")
                                               : QStringLiteral("%1 failures").arg(failures);
    // A style sheet is applied anew at every call, whatever it holds: only a change is set.
    if (failuresText != m_failures->text())
        m_failures->setText(failuresText);
    const QString style = failures > 0 ? QStringLiteral("color: #960000; font-weight: bold;")
                                       : QString();
    if (style != m_failures->styleSheet())
        m_failures->setStyleSheet(style);
    if (!shown) {
        m_bar->show();
        m_failures->show();
        fitTextPanel(width());
    }
}

void TMainStatusBar::endProgress(const QString& flagHint)
{
    if (!progressShown())
        return;
    m_bar->hide();
    // Failures stay in sight, also of a run no one watched: a click lists them.
    const bool flag = m_failureCount > 0;
    m_failures->setVisible(flag);
    m_failures->setCursor(flag ? Qt::PointingHandCursor : Qt::ArrowCursor);
    m_failures->setToolTip(!flag ? QString()
                           : !flagHint.isEmpty() ? flagHint
                                                 : QStringLiteral("Failed answers of the last transmission: "
                                                                  "click to list them in the Packets tab"));
    m_text->setText(m_status);
    fitTextPanel(width());
}

bool TMainStatusBar::failuresFlagged() const
{
    return !progressShown() && !m_failures->isHidden();
}

void TMainStatusBar::clearFailuresFlag()
{
    if (!failuresFlagged())
        return;
    m_failures->hide();
    m_failureCount = 0;
    fitTextPanel(width());
}

bool TMainStatusBar::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_failures && event->type() == QEvent::MouseButtonRelease
        && static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton && m_failureCount > 0)
        emit failuresClicked();
    return QStatusBar::eventFilter(watched, event);
}

bool TMainStatusBar::progressShown() const
{
    return !m_bar->isHidden();
}

void TMainStatusBar::fitTextPanel(int width)
{
    const int progress = (progressShown() ? kProgressWidth + 4 : 0)
                       + (m_failures->isHidden() ? 0 : kFailuresWidth + 4);
    m_text->setMaximumWidth(std::max(0, width - kTextPanelMargin - progress));
}

QString TMainStatusBar::statusText() const
{
    return m_text->text();
}

void TMainStatusBar::resizeEvent(QResizeEvent* event)
{
    fitTextPanel(event->size().width());
    QStatusBar::resizeEvent(event);
}
