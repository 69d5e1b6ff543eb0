#include <gtest/gtest.h>

#include "core/DeviceBase.h"
#include "core/SurfaceBase.h"
#include "core/TextParse.h"

namespace radove {
namespace {

struct FitCase {
  int mode, canvasW, canvasH, windowW, windowH;
  Viewport expected;
};

class FitToWindowTest : public ::testing::TestWithParam<FitCase> {};

TEST_P(FitToWindowTest, KeepsAspectRatioAndCentres) {
  const FitCase& c = GetParam();
  EXPECT_EQ(FitToWindow(c.mode, c.canvasW, c.canvasH, c.windowW, c.windowH, {1, 2, 3, 4}),
            c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, FitToWindowTest,
    ::testing::Values(
        FitCase{kAspectSquare, 1000, 1000, 400, 300, {50, 0, 300, 300}},
        FitCase{kAspectSquare, 1000, 1000, 300, 400, {0, 50, 300, 300}},
        FitCase{kAspectWide, 1000, 500, 500, 500, {0, 125, 500, 250}},
        // Window flatter than the canvas: full height, centred horizontally.
        FitCase{kAspectWide, 1000, 500, 1000, 100, {400, 0, 200, 100}},
        FitCase{kAspectTall, 500, 1000, 300, 300, {75, 0, 150, 300}},
        // Window narrower than the canvas: full width, centred vertically.
        FitCase{kAspectTall, 500, 1000, 100, 1000, {0, 400, 100, 200}},
        // Integer division truncates: 333 * 290 / 1000 = 96.
        FitCase{kAspectWide, 1000, 290, 333, 500, {0, 202, 333, 96}},
        // Large windows on large canvases do not overflow.
        FitCase{kAspectWide, 76800, 320, 40000, 30000, {0, 14917, 40000, 166}},
        // Unknown mode keeps the current viewport.
        FitCase{7, 1000, 1000, 400, 300, {1, 2, 3, 4}}));

TEST(LayoutFrameTest, DerivesPanelContentCentreAndAspect) {
  CSurfaceBase s;
  s.LayoutFrame(FrameGeometry{1500, 501, 20, 30, 40, 50, 1, 2, 3, 4, 11, 12});
  EXPECT_EQ(s.canvasWidth, 1500);
  EXPECT_EQ(s.centreX, 750);
  EXPECT_EQ(s.centreY, 250);
  EXPECT_EQ(s.panelLeft, 20);
  EXPECT_EQ(s.panelTop, 30);
  EXPECT_EQ(s.panelRight, 1460);
  EXPECT_EQ(s.panelBottom, 451);
  EXPECT_EQ(s.contentLeft, 21);
  EXPECT_EQ(s.contentTop, 32);
  EXPECT_EQ(s.contentRight, 1457);
  EXPECT_EQ(s.contentBottom, 447);
  EXPECT_EQ(s.cornerWidth, 11);
  EXPECT_EQ(s.aspectMode, kAspectWide);
  s.LayoutFrame(FrameGeometry{500, 1000});
  EXPECT_EQ(s.aspectMode, kAspectTall);
  s.LayoutFrame(FrameGeometry{500, 500});
  EXPECT_EQ(s.aspectMode, kAspectSquare);
}

TEST(SurfaceColoursTest, CopiedAtConstructionPixelStoredTwice) {
  DeviceColours colours{1, 2, 3, 4, 5};
  CSurfaceBase s(colours);
  EXPECT_EQ(s.outerColourStopped, 1u);
  EXPECT_EQ(s.outerColourActive, 2u);
  EXPECT_EQ(s.panelColourStopped, 3u);
  EXPECT_EQ(s.panelColourActive, 4u);
  EXPECT_EQ(s.pixelColour, 5u);
  EXPECT_EQ(s.pixelColour2, 5u);
  // Defaults are the settings' defaults.
  CSurfaceBase d(DeviceColours{});
  EXPECT_EQ(d.outerColourStopped, 0xD5D5D5u);
  EXPECT_EQ(d.panelColourActive, 0xF5BF00u);
}

TEST(PropertyHelpersTest, GetIntParsesLeadingNumberAndRejectsGarbageAndOverflow) {
  PropertySet set{{1, "12abc"}, {2, "abc"}, {3, "99999999999"}, {4, " -42"},
                  {5, "2147483647"}, {6, "-2147483648"}, {7, "2147483648"}, {8, ""}};
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 1), 12);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 2), 0);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 3), 0);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 4), -42);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 5), 2147483647);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 6), -2147483647 - 1);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 7), 0);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 8), 0);
  EXPECT_EQ(CDeviceBase::GetIntProperty(set, 99), 0);
  EXPECT_EQ(CDeviceBase::GetStringProperty(set, 2), "abc");
  EXPECT_EQ(CDeviceBase::GetStringProperty(set, 99), "");
}

TEST(PropertyHelpersTest, SetNeverCreatesAddNeverOverwrites) {
  PropertySet set;
  CDeviceBase::SetIntProperty(set, 0x100000, 5);
  CDeviceBase::SetStringProperty(set, 0x100001, "x");
  EXPECT_TRUE(set.empty());

  CDeviceBase::AddIntProperty(set, 0x100000, "start", "the start page", 7);
  const PropertySet expected{{0x100000, "7"}, {0x100001, "start"}, {0x100002, "the start page"},
                             {0x100003, "0"}};
  EXPECT_EQ(set, expected);
  CDeviceBase::AddIntProperty(set, 0x100000, "other", "other", 9);
  EXPECT_EQ(set, expected);

  CDeviceBase::SetIntProperty(set, 0x100000, -3);
  EXPECT_EQ(set.at(0x100000), "-3");
  CDeviceBase::SetStringProperty(set, 0x100001, "renamed");
  EXPECT_EQ(set.at(0x100001), "renamed");
}

TEST(PropertyHelpersTest, FileAndListPropertiesUseTheirSubEntries) {
  PropertySet set;
  CDeviceBase::AddFileProperty(set, 0x1000000, "picture", "a bitmap",
                               "Picture Files(*.bmp)|*.bmp|", "a.bmp");
  EXPECT_EQ(set.at(0x1000003), "2");
  EXPECT_EQ(set.at(0x1000007), "Picture Files(*.bmp)|*.bmp|");
  EXPECT_EQ(set.at(0x1000000), "a.bmp");

  CDeviceBase::AddListProperty(set, 0x2000000, "mode", "colour mode", {"RGB565", "RGB666", "RGB444"},
                               "RGB666");
  EXPECT_EQ(set.at(0x2000003), "3");
  EXPECT_EQ(set.at(0x2000010), "RGB565");
  EXPECT_EQ(set.at(0x2000011), "RGB666");
  EXPECT_EQ(set.at(0x2000012), "RGB444");
  EXPECT_EQ(set.count(0x2000013), 0u);
  // A second add with an existing key changes nothing, not even the options.
  CDeviceBase::AddListProperty(set, 0x2000000, "m", "d", {"A"}, "A");
  EXPECT_EQ(set.at(0x2000010), "RGB565");
}

TEST(TextParseTest, ForgivingNumberRules) {
  EXPECT_EQ(ParseDecimal64("  -9223372036854775808"), INT64_MIN);
  EXPECT_EQ(ParseDecimal64("9223372036854775807x"), INT64_MAX);
  EXPECT_FALSE(ParseDecimal64("9223372036854775808"));
  EXPECT_FALSE(ParseDecimal64("x1"));
  EXPECT_FALSE(ParseDecimal64("-"));
  EXPECT_EQ(ParseHex64("ff"), 0xFFu);
  EXPECT_EQ(ParseHex64("0x1F zz"), 0x1Fu);
  EXPECT_EQ(ParseHex64("FFFFFFFFFFFFFFFF"), UINT64_MAX);
  EXPECT_FALSE(ParseHex64("1FFFFFFFFFFFFFFFF"));
  EXPECT_FALSE(ParseHex64("g"));
  EXPECT_EQ(LeadingNumber("1abc"), 1);
  EXPECT_EQ(LeadingNumber(""), 0);
}

// A device that records what it takes, for the queue and counter rules.
class CountingDevice : public CDeviceBase {
 public:
  CountingDevice() : CDeviceBase(DeviceColours{}) {}
  bool ProcessNextItem(std::int32_t) override {
    if (Queue().Empty()) return false;
    CountItem();
    taken.push_back(Queue().Pop());
    return true;
  }
  void FeedItem(int kind, std::uint32_t, int, std::int64_t value, int) override {
    PushItem(ByteBusWord(kind, value));
  }
  std::vector<std::int64_t> taken;
};

TEST(InputQueueTest, FirstInFirstOutAndEmptyQueueLeavesCounter) {
  CountingDevice d;
  ItemCounter counter;
  d.AttachItemCounter(&counter);
  EXPECT_FALSE(d.ProcessNextItem(0));
  EXPECT_EQ(counter.Value(), 1);
  d.FeedItem(0, 0, 0, 0x38, 0);
  d.FeedItem(1, 0, 0, 0x141, 0);
  EXPECT_TRUE(d.ProcessNextItem(0));
  d.FeedItem(1, 0, 0, 0x42, 0);  // pushed after a take: order still kept
  EXPECT_TRUE(d.ProcessNextItem(0));
  EXPECT_TRUE(d.ProcessNextItem(0));
  EXPECT_FALSE(d.ProcessNextItem(0));
  EXPECT_EQ(d.taken, (std::vector<std::int64_t>{0x38, 0x141, 0x142}));
  EXPECT_EQ(counter.Value(), 4);
  d.FeedItem(0, 0, 0, 1, 0);
  d.ClearItems();
  EXPECT_FALSE(d.ProcessNextItem(0));
}

TEST(RunStateTest, SetRunStateKeepsThePreviousOne) {
  CountingDevice d;
  d.SetRunState(1);
  d.SetRunState(2);
  EXPECT_EQ(d.RunState(), 2);
  EXPECT_EQ(d.PreviousRunState(), 1);
  EXPECT_TRUE(d.NeedsIdleRedraw());  // raised at construction
  d.SetIdleRedraw(false);
  EXPECT_FALSE(d.NeedsIdleRedraw());
}

}  // namespace
}  // namespace radove
