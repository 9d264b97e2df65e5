// The traffic LEDs: lit for 200 to 250 ms after they went on however many events follow,
// each LED on its own; and the panel's picture with both LEDs where they belong.
#include "frames/traffic_leds.h"

#include <gtest/gtest.h>

TEST(TrafficLeds, AnLedGoesDarkOnTheFifthStepAndMoreEventsDoNotRenewIt)
{
    TrafficLeds leds;
    EXPECT_TRUE(leds.SetLed(TrafficLeds::kTransmitLed, true));
    EXPECT_FALSE(leds.SetLed(TrafficLeds::kTransmitLed, true));
    for (int step = 1; step <= 4; ++step) {
        EXPECT_FALSE(leds.LEDTimerTimer()) << step;
        // Continuous traffic: an event after every step.
        EXPECT_FALSE(leds.SetLed(TrafficLeds::kTransmitLed, true));
        EXPECT_TRUE(leds.lit(TrafficLeds::kTransmitLed)) << step;
    }
    EXPECT_TRUE(leds.LEDTimerTimer());
    EXPECT_FALSE(leds.lit(TrafficLeds::kTransmitLed));
    // The next event lights it again with a full time.
    EXPECT_TRUE(leds.SetLed(TrafficLeds::kTransmitLed, true));
    EXPECT_EQ(leds.timeLeft(TrafficLeds::kTransmitLed), 250);
}

TEST(TrafficLeds, EachLedRunsOnItsOwnAndUnknownLedsAreIgnored)
{
    TrafficLeds leds;
    leds.SetLed(TrafficLeds::kReceiveLed, true);
    leds.LEDTimerTimer();
    leds.LEDTimerTimer();
    leds.SetLed(TrafficLeds::kTransmitLed, true);
    leds.LEDTimerTimer();
    leds.LEDTimerTimer();
    leds.LEDTimerTimer();
    EXPECT_FALSE(leds.lit(TrafficLeds::kReceiveLed));
    EXPECT_TRUE(leds.lit(TrafficLeds::kTransmitLed));
    EXPECT_FALSE(leds.SetLed(0, true));
    EXPECT_FALSE(leds.SetLed(3, true));
    // Switching off at once is allowed too.
    EXPECT_TRUE(leds.SetLed(TrafficLeds::kTransmitLed, false));
    EXPECT_FALSE(leds.LEDTimerTimer());
}
