#include "app/QtSettingsStorage.h"

#include <gtest/gtest.h>

#include <QSettings>
#include <QTemporaryDir>

namespace radove {
namespace {

class QtSettingsStorageTest : public ::testing::Test {
 protected:
  QString Ini() const { return dir_.filePath(QStringLiteral("dediroz.conf")); }
  QTemporaryDir dir_;
};

TEST_F(QtSettingsStorageTest, FirstLoadStoresTheDefaultsUnderTheGroup) {
  {
    QtSettingsStorage storage(Ini());
    EXPECT_FALSE(storage.Exists());
    SimulationSettings settings;
    settings.Load(storage);
    EXPECT_TRUE(storage.Exists());
  }
  QSettings raw(Ini(), QSettings::IniFormat);
  EXPECT_EQ(raw.value(QStringLiteral("config/simulation/defilbgcolor")).toLongLong(), 0xFFBF00);
  EXPECT_EQ(raw.value(QStringLiteral("config/simulation/pexcutetime")).toLongLong(), 100);
  raw.beginGroup(QStringLiteral("config/simulation"));
  EXPECT_EQ(raw.childKeys().size(), 8);
}

TEST_F(QtSettingsStorageTest, ValuesThatAreNotThirtyTwoBitNumbersAreUnreadable) {
  {
    QSettings raw(Ini(), QSettings::IniFormat);
    raw.setValue(QStringLiteral("config/simulation/excutetime"), QStringLiteral("fast"));
    raw.setValue(QStringLiteral("config/simulation/pexcutetime"), -4);
    raw.setValue(QStringLiteral("config/simulation/mcproccontinous"), 0x100000000LL);
    raw.setValue(QStringLiteral("config/simulation/defpixelcolor"), 0xFF);
  }
  QtSettingsStorage storage(Ini());
  EXPECT_TRUE(storage.Exists());
  EXPECT_EQ(storage.Read("excutetime"), std::nullopt);
  EXPECT_EQ(storage.Read("pexcutetime"), std::nullopt);
  EXPECT_EQ(storage.Read("mcproccontinous"), std::nullopt);
  EXPECT_EQ(storage.Read("missing"), std::nullopt);
  EXPECT_EQ(storage.Read("defpixelcolor"), 0xFFu);

  SimulationSettings settings;
  settings.Load(storage);
  EXPECT_EQ(settings.excutetime, 10u);
  EXPECT_EQ(settings.defpixelcolor, 0xFFu);
}

TEST_F(QtSettingsStorageTest, WrittenValuesReadBack) {
  QtSettingsStorage storage(Ini());
  EXPECT_TRUE(storage.Write("runilbgcolor", 0xFFFFFFFFu));
  EXPECT_EQ(storage.Read("runilbgcolor"), 0xFFFFFFFFu);
}

}  // namespace
}  // namespace radove
