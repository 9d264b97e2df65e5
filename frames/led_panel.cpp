#include "led_panel.h"

#include <QPainter>
#include <QRadialGradient>

namespace {

// The panel in the status bar, and the picture of both LEDs side by side in it.
constexpr int kWidth = 50;
constexpr int kPictureWidth = 44;
constexpr int kPictureHeight = 18;
constexpr int kReceiveLedX = 4;
constexpr int kTransmitLedX = 22;

} // namespace

QSize TLedPanel::sizeHint() const
{
    return {kWidth, kPictureHeight};
}

TLedPanel::TLedPanel(QWidget* parent)
    : QWidget(parent),
      m_receiveOn(ledImage(QColor(0, 255, 0), true)),
      m_receiveOff(ledImage(QColor(0, 255, 0), false)),
      m_transmitOn(ledImage(QColor(255, 0, 0), true)),
      m_transmitOff(ledImage(QColor(255, 0, 0), false))
{
    setObjectName(QStringLiteral("LEDPANEL"));
    setFixedSize(kWidth, kPictureHeight);
    m_timer.setObjectName(QStringLiteral("LedTimer"));
    m_timer.setInterval(TrafficLeds::kTimerIntervalMs);
    connect(&m_timer, &QTimer::timeout, this, &TLedPanel::LEDTimerTimer);
    m_timer.start();
}

QPixmap TLedPanel::ledImage(QColor lit, bool on)
{
    QPixmap image(kLedSize, kLedSize);
    image.fill(Qt::transparent);
    QPainter p(&image);
    p.setRenderHint(QPainter::Antialiasing);
    const QColor body = on ? lit : lit.darker(330);
    QRadialGradient glow(QPointF(7, 6), 9);
    glow.setColorAt(0, on ? body.lighter(170) : body.lighter(140));
    glow.setColorAt(1, body);
    p.setPen(QPen(QColor(64, 64, 64), 1));
    p.setBrush(glow);
    p.drawEllipse(QRectF(2.5, 2.5, 13, 13));
    return image;
}

void TLedPanel::SetLed(int led, bool on)
{
    if (m_leds.SetLed(led, on))
        update();
}

void TLedPanel::LEDTimerTimer()
{
    if (m_leds.LEDTimerTimer())
        update();
}

QPixmap TLedPanel::picture() const
{
    QPixmap picture(kPictureWidth, kPictureHeight);
    picture.fill(QColor(192, 192, 192));
    QPainter p(&picture);
    p.drawPixmap(kReceiveLedX, 0,
                 m_leds.lit(TrafficLeds::kReceiveLed) ? m_receiveOn : m_receiveOff);
    p.drawPixmap(kTransmitLedX, 0,
                 m_leds.lit(TrafficLeds::kTransmitLed) ? m_transmitOn : m_transmitOff);
    p.setPen(Qt::black);
    p.setBrush(Qt::NoBrush);
    p.drawRect(0, 0, kPictureWidth - 1, kPictureHeight - 1);
    return picture;
}

void TLedPanel::paintEvent(QPaintEvent*)
{
    QPainter p(this);
    p.drawPixmap(0, 0, picture());
}
