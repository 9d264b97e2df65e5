// The LED panel's picture: silver, a black frame, the receive LED at x 4 and the transmit LED
// at x 22, bright while lit and dark otherwise; LedTimer always running.
#include "frames/led_panel.h"

#include <QImage>

#include <gtest/gtest.h>

namespace {

// The colour at the centre of the LED whose image starts at x.
QColor centreOf(const QImage& picture, int x)
{
    return picture.pixelColor(x + TLedPanel::kLedSize / 2, TLedPanel::kLedSize / 2);
}

} // namespace

TEST(LedPanel, PictureShowsEachLedInItsPlace)
{
    TLedPanel panel;
    EXPECT_TRUE(panel.LedTimer().isActive());
    const QImage dark = panel.picture().toImage();
    ASSERT_EQ(dark.size(), QSize(44, 18));
    EXPECT_EQ(dark.pixelColor(2, 9), QColor(192, 192, 192));
    EXPECT_EQ(dark.pixelColor(0, 0), QColor(Qt::black));
    EXPECT_EQ(dark.pixelColor(43, 17), QColor(Qt::black));

    panel.trafficActivity(TrafficLeds::kTransmitLed);
    const QImage tx = panel.picture().toImage();
    EXPECT_EQ(centreOf(tx, 4), centreOf(dark, 4));
    EXPECT_GT(centreOf(tx, 22).red(), centreOf(dark, 22).red() + 80);
    EXPECT_LT(centreOf(tx, 22).green(), 128);

    panel.trafficActivity(TrafficLeds::kReceiveLed);
    const QImage both = panel.picture().toImage();
    EXPECT_GT(centreOf(both, 4).green(), centreOf(dark, 4).green() + 80);
    EXPECT_LT(centreOf(both, 4).red(), 128);

    for (int i = 0; i < 5; ++i)
        panel.LEDTimerTimer();
    EXPECT_EQ(panel.picture().toImage(), dark);
}
