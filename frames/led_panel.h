#pragma once
// The LED panel of the status bar: the receive LED (green) and the transmit LED (red) on a
// 44 x 18 silver picture. Traffic lights an LED; LedTimer, always running, steps every
// 50 ms and puts each LED out 200 to 250 ms after it went on.

#include "traffic_leds.h"

#include <QPixmap>
#include <QTimer>
#include <QWidget>

class TLedPanel : public QWidget {
    Q_OBJECT
public:
    static constexpr int kLedSize = 18; // each LED's picture is square

    explicit TLedPanel(QWidget* parent = nullptr);

    const TrafficLeds& leds() const { return m_leds; }
    QTimer& LedTimer() { return m_timer; }

    // The traffic signal: 1 receive, 2 transmit; lights that LED.
    void trafficActivity(int led) { SetLed(led, true); }
    void SetLed(int led, bool on);
    // One step of LedTimer.
    void LEDTimerTimer();

    // The panel's picture as drawn now.
    QPixmap picture() const;

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    static QPixmap ledImage(QColor lit, bool on);

    TrafficLeds m_leds;
    QTimer m_timer;
    QPixmap m_receiveOn;
    QPixmap m_receiveOff;
    QPixmap m_transmitOn;
    QPixmap m_transmitOff;
};
