#include "cli/Cli.h"

#include <gtest/gtest.h>

#include <QImage>
#include <filesystem>
#include <fstream>
#include <sstream>

namespace radove {
namespace {

namespace fs = std::filesystem;

class CliTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("radove-cli-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed()) + "-" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }
  std::string Write(const std::string& name, const std::string& text) {
    const fs::path p = dir / name;
    std::ofstream(p) << text;
    return p.string();
  }
  int Run(std::vector<std::string> args) {
    out.str({});
    err.str({});
    return cli::Run(args, out, err);
  }
  fs::path dir;
  std::ostringstream out, err;
};

TEST_F(CliTest, DevicesListsEveryCodeAndWhichAreBuilt) {
  ASSERT_EQ(Run({"devices"}), 0);
  std::istringstream lines(out.str());
  std::string line;
  int rows = 0;
  bool sawLed = false;
  while (std::getline(lines, line)) {
    ++rows;
    if (line == "100000\tCSimpleLed\tLED\tbuilt") sawLed = true;
  }
  EXPECT_EQ(rows, 70);
  EXPECT_TRUE(sawLed);
}

TEST_F(CliTest, RenderTrafficLightValueFive) {
  const std::string csv = Write("x.csv", "kind,additional,value,remark\ndata,0,5,red+yellow\n");
  const std::string png = (dir / "t.png").string();
  ASSERT_EQ(Run({"render", "--device", "100090", "--preset", csv, "--out", png}), 0) << err.str();
  QImage img(QString::fromStdString(png));
  ASSERT_EQ(img.size(), QSize(1500, 500));
  EXPECT_EQ(img.pixelColor(276, 256), QColor(41, 36, 33));   // green dark
  EXPECT_EQ(img.pixelColor(749, 256), QColor(255, 215, 0));  // yellow lit
  EXPECT_EQ(img.pixelColor(1222, 256), QColor(255, 0, 0));   // red lit

  // --steps 0 executes nothing; --size fits the canvas into the window.
  ASSERT_EQ(Run({"render", "--device", "100090", "--preset", csv, "--out", png, "--steps", "0",
                 "--size", "300x300", "--mode", "stopped"}),
            0);
  img.load(QString::fromStdString(png));
  EXPECT_EQ(img.size(), QSize(300, 300));
  EXPECT_EQ(img.pixelColor(244, 151), QColor(41, 36, 33));
}

TEST_F(CliTest, InspectPrintsTheRootAsJson) {
  const std::string csv = Write("x.csv", "kind,additional,value,remark\ncmd,0,1\n");
  ASSERT_EQ(Run({"inspect", "--device", "100000", "--preset", csv}), 0) << err.str();
  EXPECT_EQ(out.str(), "{\"model\": \"\", \"chips\": []}\n");
}

TEST_F(CliTest, ExitCodesAndMessages) {
  const std::string csv = Write("x.csv", "kind,additional,value,remark\ncmd,0,1\n");
  const std::string bad = Write("bad.csv", "kind,additional,value,remark\ncmd,0,1\nfoo,0,1\n");
  struct Case {
    std::vector<std::string> args;
    int code;
    std::string fragment;
  } cases[] = {
      {{}, 2, "usage"},
      {{"paint"}, 2, "unknown command"},
      {{"render", "--device", "100000", "--preset", csv}, 2, "--out"},
      {{"inspect", "--device", "100000"}, 2, "--preset"},
      {{"inspect", "--device", "abc", "--preset", csv}, 2, "type code"},
      {{"inspect", "--device", "100000", "--preset", csv, "--steps", "-1"}, 2, "--steps"},
      {{"inspect", "--device", "4242", "--preset", csv}, 3, "unknown device type code 4242"},
      {{"inspect", "--device", "7000600", "--preset", csv}, 3, "not built"},
      {{"inspect", "--device", "100000", "--preset", (dir / "none.csv").string()}, 4, "none.csv"},
      {{"inspect", "--device", "100000", "--preset", bad}, 4, "bad.csv:3:"},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(Run(c.args), c.code) << err.str();
    EXPECT_NE(err.str().find(c.fragment), std::string::npos) << err.str();
  }
}

}  // namespace
}  // namespace radove
