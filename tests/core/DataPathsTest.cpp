#include <gtest/gtest.h>

#include <cstdlib>
#include <optional>
#include <string>

#include "core/DataPaths.h"

namespace radove {
namespace {

namespace fs = std::filesystem;

// Sets or clears RADOVE_DATA_DIR for one test and restores it afterwards.
class DataPathsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (const char* v = std::getenv("RADOVE_DATA_DIR")) saved_ = v;
  }
  void TearDown() override {
    if (saved_) {
      setenv("RADOVE_DATA_DIR", saved_->c_str(), 1);
    } else {
      unsetenv("RADOVE_DATA_DIR");
    }
  }
  std::optional<std::string> saved_;
};

TEST_F(DataPathsTest, TheEnvironmentVariableWins) {
  setenv("RADOVE_DATA_DIR", "/opt/radove-data", 1);
  EXPECT_EQ(DataDirectory(), fs::path("/opt/radove-data"));
  EXPECT_EQ(ResolveDataFile("db/lm.db"), fs::path("/opt/radove-data/db/lm.db"));
  EXPECT_EQ(ResolveDataFile("fonts/HZK16"), fs::path("/opt/radove-data/fonts/HZK16"));
}

TEST_F(DataPathsTest, WithoutTheVariableTheExecutablesFolderIsUsed) {
  unsetenv("RADOVE_DATA_DIR");
  const fs::path exeDir = fs::read_symlink("/proc/self/exe").parent_path();
  EXPECT_EQ(DataDirectory(), exeDir);
  EXPECT_EQ(ResolveDataFile("wav/2khz.wav"), exeDir / "wav" / "2khz.wav");
  setenv("RADOVE_DATA_DIR", "", 1);
  EXPECT_EQ(DataDirectory(), exeDir) << "an empty variable counts as unset";
}

TEST_F(DataPathsTest, WindowsSeparatorsAndAbsoluteNames) {
  setenv("RADOVE_DATA_DIR", "/data", 1);
  EXPECT_EQ(ResolveDataFile("wav\\3k5hz.wav"), fs::path("/data/wav/3k5hz.wav"));
  EXPECT_EQ(ResolveDataFile(".\\docs\\user_guide.pdf"), fs::path("/data/./docs/user_guide.pdf"));
  EXPECT_EQ(ResolveDataFile("/tmp/picture.bmp"), fs::path("/tmp/picture.bmp"));
}

}  // namespace
}  // namespace radove
