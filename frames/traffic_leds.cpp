#include "traffic_leds.h"

#include <initializer_list>

TrafficLeds::Led* TrafficLeds::find(int led)
{
    return led == kReceiveLed ? &m_receive : led == kTransmitLed ? &m_transmit : nullptr;
}

const TrafficLeds::Led* TrafficLeds::find(int led) const
{
    return led == kReceiveLed ? &m_receive : led == kTransmitLed ? &m_transmit : nullptr;
}

bool TrafficLeds::SetLed(int led, bool on)
{
    Led* l = find(led);
    if (!l || l->on == on)
        return false;
    l->on = on;
    if (on)
        l->time = kLitTimeMs;
    return true;
}

bool TrafficLeds::LEDTimerTimer()
{
    bool changed = false;
    for (Led* l : {&m_receive, &m_transmit}) {
        if (l->time > 0)
            l->time -= kTimerIntervalMs;
        if (l->on && l->time < 1) {
            l->on = false;
            changed = true;
        }
    }
    return changed;
}

bool TrafficLeds::lit(int led) const
{
    const Led* l = find(led);
    return l && l->on;
}

int TrafficLeds::timeLeft(int led) const
{
    const Led* l = find(led);
    return l ? l->time : 0;
}
