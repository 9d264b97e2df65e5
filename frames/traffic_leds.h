#pragma once
// The two traffic LEDs of the status bar as logic: an LED that goes on stays lit for 250 ms
// less one timer step at most, however many events follow; the LED timer steps every 50 ms.

class TrafficLeds {
public:
    // The LED an event names: receive 1, transmit 2.
    static constexpr int kReceiveLed = 1;
    static constexpr int kTransmitLed = 2;
    static constexpr int kLitTimeMs = 250;
    static constexpr int kTimerIntervalMs = 50;

    // Does nothing when the LED already has that state (a lit LED keeps its time). True
    // when the state changed, so the panel is drawn again. An unknown LED is ignored.
    bool SetLed(int led, bool on);
    // One LED timer step. True when an LED went dark.
    bool LEDTimerTimer();

    bool lit(int led) const;
    int timeLeft(int led) const;

private:
    struct Led {
        bool on = false;
        int time = 0;
    };
    Led* find(int led);
    const Led* find(int led) const;

    Led m_receive;
    Led m_transmit;
};
