#include <gtest/gtest.h>

#include "devices/CDeviceFactory.h"
#include "devices/led/CSimpleLed.h"
#include "devices/led/CTrafficRGYColorA.h"
#include "render/QtCanvas.h"

namespace radove {
namespace {

Colour PixelAt(const ImageTarget& t, int x, int y) { return FromQColor(t.Image().pixelColor(x, y)); }

void FeedAndRun(CDeviceBase& d, std::initializer_list<std::pair<int, std::int64_t>> items) {
  for (auto [kind, value] : items) d.FeedItem(kind, 0, 0, value, 0);
  while (d.ProcessNextItem()) {
  }
}

TEST(SimpleLedTest, OnlyBitZeroLightsTheLamp) {
  CSimpleLed led{DeviceColours{}};
  struct Case {
    int kind;
    std::int64_t value;
    bool lit;
  } cases[] = {{1, 1, true}, {1, 0, false}, {0, 3, true}, {1, 2, false},
               {0, 0x100000001LL, true}, {1, -1, true}};
  for (const Case& c : cases) {
    FeedAndRun(led, {{c.kind, c.value}});
    EXPECT_EQ(led.Lit(), c.lit) << "value " << c.value;
  }
  // An empty queue leaves the lamp as it was.
  FeedAndRun(led, {{1, 1}});
  EXPECT_FALSE(led.ProcessNextItem());
  EXPECT_TRUE(led.Lit());
  led.Reset();
  EXPECT_FALSE(led.Lit());
}

TEST(SimpleLedTest, LampRectanglesFollowTheContentOrigin) {
  CSimpleLed led{DeviceColours{}};
  EXPECT_EQ(led.Surface().panelRight, 480);
  EXPECT_EQ(led.Surface().contentLeft, 40);
  EXPECT_EQ(led.Surface().aspectMode, kAspectSquare);
  const auto& lamp = led.LampAt(0);
  EXPECT_EQ(lamp.outline, (CSimpleLed::Rect{95, 95, 395, 395}));
  EXPECT_EQ(lamp.ring, (CSimpleLed::Rect{125, 125, 365, 365}));
  EXPECT_EQ(lamp.disc, (CSimpleLed::Rect{145, 145, 345, 345}));
}

TEST(SimpleLedTest, RendersPanelAndBlackLampInTheSettingsColours) {
  const DeviceColours colours{0x111111, 0x222222, 0x333333, 0x444444, 0x0000FF};
  CSimpleLed led{colours};
  FeedAndRun(led, {{1, 1}});

  ImageTarget stopped(500, 500);
  led.Render(stopped, kModeStopped);
  EXPECT_EQ(PixelAt(stopped, 5, 5), 0x111111u);      // outer, stopped
  EXPECT_EQ(PixelAt(stopped, 250, 250), 0x333333u);  // panel only: the lamp is not drawn
  EXPECT_EQ(PixelAt(stopped, 135, 245), 0x333333u);

  ImageTarget active(500, 500);
  led.Render(active, kModeActive);
  EXPECT_EQ(PixelAt(active, 5, 5), 0x222222u);
  EXPECT_EQ(PixelAt(active, 30, 250), 0x444444u);   // panel, outside the outline
  EXPECT_EQ(PixelAt(active, 245, 245), 0u);         // disc, black whatever the pixel colour
  EXPECT_EQ(PixelAt(active, 130, 245), 0u);         // the thick ring
  EXPECT_EQ(PixelAt(active, 140, 245), 0x444444u);  // gap between ring and disc
  EXPECT_EQ(PixelAt(active, 110, 245), 0x444444u);  // between outline and ring
}

TEST(TrafficLightTest, ValueBitsLightRedGreenYellow) {
  CTrafficRGYColorA light{DeviceColours{}};
  struct Case {
    std::int64_t value;
    bool red, green, yellow;
  } cases[] = {{5, true, false, true}, {2, false, true, false}, {8, false, false, false},
               {7, true, true, true}, {0x100000004LL, true, false, false}};
  for (const Case& c : cases) {
    for (int kind : {0, 1}) {
      FeedAndRun(light, {{kind, c.value}});
      EXPECT_EQ(light.RedLit(), c.red) << c.value;
      EXPECT_EQ(light.GreenLit(), c.green) << c.value;
      EXPECT_EQ(light.YellowLit(), c.yellow) << c.value;
    }
  }
}

TEST(TrafficLightTest, RendersLampsAtTheirPositionsInEveryMode) {
  CTrafficRGYColorA light{DeviceColours{}};
  EXPECT_EQ(light.Surface().aspectMode, kAspectWide);
  EXPECT_EQ(light.Surface().contentRight, 1460);

  ImageTarget stopped(1500, 500);
  light.Render(stopped, kModeStopped);
  // Dark lamps with their outlines even while stopped.
  for (int cx : {276, 749, 1222}) EXPECT_EQ(PixelAt(stopped, cx, 256), CTrafficRGYColorA::kDark);
  EXPECT_EQ(PixelAt(stopped, 5, 5), 0xD5D5D5u);
  EXPECT_EQ(PixelAt(stopped, 500, 256), 0xFFBF00u);  // panel between lamps
  EXPECT_EQ(PixelAt(stopped, 276, 75), 0u);          // the 20-unit pen, pixel colour black

  FeedAndRun(light, {{1, 5}});
  ImageTarget active(1500, 500);
  light.Render(active, kModeActive);
  EXPECT_EQ(PixelAt(active, 276, 256), CTrafficRGYColorA::kDark);    // green off
  EXPECT_EQ(PixelAt(active, 749, 256), CTrafficRGYColorA::kYellow);  // (563,70)-(936,443)
  EXPECT_EQ(PixelAt(active, 1222, 256), CTrafficRGYColorA::kRed);    // (1036,70)-(1409,443)
  EXPECT_EQ(PixelAt(active, 1222, 60), 0xF5BF00u);                   // above the red lamp
  EXPECT_EQ(PixelAt(active, 1030, 256), 0xF5BF00u);                  // left of the red lamp
}

TEST(TrafficLightTest, ScaledIntoASmallerWindowKeepsTheAspect) {
  CTrafficRGYColorA light{DeviceColours{}};
  FeedAndRun(light, {{1, 4}});
  ImageTarget t(300, 300, 0x00FF00);
  light.Render(t, kModeActive);
  // 1500x500 into 300x300: viewport (0, 100, 300, 100).
  EXPECT_EQ(PixelAt(t, 150, 50), 0x00FF00u);  // untouched window background
  EXPECT_EQ(PixelAt(t, 244, 151), CTrafficRGYColorA::kRed);
  EXPECT_EQ(PixelAt(t, 150, 151), CTrafficRGYColorA::kDark);
}

TEST(FactoryTest, CreatesBuiltDevicesAndRefusesOthers) {
  CDeviceFactory f;
  EXPECT_EQ(f.LastTypeCode(), -1);
  auto a = f.Create(DeviceColours{}, 100090);
  ASSERT_NE(a, nullptr);
  EXPECT_NE(dynamic_cast<CTrafficRGYColorA*>(a.get()), nullptr);
  EXPECT_EQ(f.LastTypeCode(), 100090);
  auto b = f.Create(DeviceColours{}, 100090);
  EXPECT_NE(a.get(), b.get());
  EXPECT_NE(dynamic_cast<CSimpleLed*>(f.Create(DeviceColours{}, 100000).get()), nullptr);

  for (int code : {-1, 0, 100001, 12345678}) {
    EXPECT_EQ(f.Create(DeviceColours{}, code), nullptr) << code;
    EXPECT_EQ(f.LastTypeCode(), -1);
  }
}

}  // namespace
}  // namespace radove
