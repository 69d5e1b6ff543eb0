#include "tools/CBulkDataDlg.h"

#include <gtest/gtest.h>

#include <QTest>
#include <QTreeView>

#include "panes/CPropertyGrid.h"
#include "gui/tools/ToolsGuiSupport.h"

namespace radove {
namespace {

class CBulkDataDlgTest : public ::testing::Test {
 protected:
  static void SetUpTestSuite() { test::EnsureApplication(); }

  // Names of the rows the grid shows, groups included, top to bottom.
  static QStringList Shown(const CBulkDataDlg& dlg) {
    QStringList names;
    dlg.Grid()->Model()->ForEachShown([&](PropertyRow* row) { names << row->name; });
    return names;
  }
  // Edits a property the way the grid's editor does: with the text typed or chosen.
  static bool Enter(const CBulkDataDlg& dlg, PropertyRow* row, const QString& text) {
    PropertyGridModel* m = dlg.Grid()->Model();
    return m->setData(m->IndexOf(row, 1), text, Qt::EditRole);
  }

  GeneratorParameters p;
};

TEST_F(CBulkDataDlgTest, PropertiesAppearInOrderWithTheRecordsValues) {
  p.codeType = kCodeHexSevenSegment;
  p.lengthBasis = kBasisCount;
  p.start = 12;
  p.decimalPreview = " 1 2";
  CBulkDataDlg dlg(p);
  EXPECT_EQ(dlg.windowTitle(), QStringLiteral("批量插入设置"));
  EXPECT_EQ(Shown(dlg), (QStringList{"有效数据位（1～63）", "插入类型", "数列码类型", "反序排列", "位反相",
                                     "数列长度依据", "数列类型", "数列设置", "起始值", "结束值", "数量（正整数）",
                                     "命令与数据行包", "将要插入的数列（预览数量:30）", "十进制", "十六进制"}));
  EXPECT_EQ(dlg.Row(GeneratorProperty::kCodeType)->value.toString(), "HEX-七段数码");
  EXPECT_EQ(dlg.Row(GeneratorProperty::kCodeType)->options,
            (QStringList{"线性码", "BCD-七段数码", "HEX-七段数码", "BCD-HEX"}));
  EXPECT_EQ(dlg.Row(GeneratorProperty::kInsertType)->options, (QStringList{"数据", "命令", "命令与数据行包"}));
  EXPECT_EQ(dlg.Row(GeneratorProperty::kSequenceType)->options, (QStringList{"等差数列", "随机数列"}));
  EXPECT_EQ(dlg.Row(GeneratorProperty::kStart)->value.toLongLong(), 12);
  EXPECT_EQ(dlg.Row(GeneratorProperty::kPreview)->value.toString(), " 1 2");
  EXPECT_TRUE(dlg.SequenceGroup()->expanded);
  EXPECT_FALSE(dlg.PacketGroup()->expanded);
  EXPECT_EQ(dlg.Grid()->View()->columnWidth(0), 300);

  // The description area explains the current row, tabs and all.
  dlg.Grid()->SetCurrentRow(dlg.Row(GeneratorProperty::kReverse));
  EXPECT_EQ(dlg.Grid()->DescriptionName(), "反序排列");
  EXPECT_TRUE(dlg.Grid()->DescriptionText().contains("插入. \t\t\t\t\t\t 例如"));
  dlg.Grid()->SetCurrentRow(dlg.PacketGroup());
  EXPECT_EQ(dlg.Grid()->DescriptionText(), "个数的限制主要是考虑到实用性，一般情况下都不会超过1～100");
}

TEST_F(CBulkDataDlgTest, InsertAndSequenceTypesDecideWhatIsShown) {
  CBulkDataDlg dlg(p);
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kInsertType), "命令与数据行包"));
  EXPECT_EQ(p.insertType, kInsertPackets);
  EXPECT_EQ(Shown(dlg), (QStringList{"插入类型", "数列设置", "命令与数据行包", "命令个数（1～100）",
                                     "数据个数(1～100)", "循环次数(0～100)", "将要插入的数列（预览数量:30）",
                                     "命令（C）或数据（D）"}));
  EXPECT_FALSE(dlg.SequenceGroup()->expanded);
  EXPECT_TRUE(dlg.PacketGroup()->expanded);

  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kInsertType), "命令"));
  EXPECT_EQ(p.insertType, kInsertCommand);
  QStringList shown = Shown(dlg);
  EXPECT_TRUE(shown.contains("数列长度依据"));
  EXPECT_TRUE(shown.contains("步长（不为0的整数）"));
  EXPECT_TRUE(shown.contains("十进制"));
  EXPECT_TRUE(shown.contains("十六进制"));
  EXPECT_FALSE(shown.contains("命令个数（1～100）"));
  EXPECT_TRUE(dlg.SequenceGroup()->expanded);
  EXPECT_FALSE(dlg.PacketGroup()->expanded);

  // Random sequences have no length basis; their number is a count.
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kSequenceType), "随机数列"));
  EXPECT_EQ(p.sequenceType, kSequenceRandom);
  EXPECT_FALSE(Shown(dlg).contains("数列长度依据"));
  EXPECT_TRUE(Shown(dlg).contains("数量（正整数）"));
  // Leaving packet mode shows the sequence properties again, but not the basis.
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kInsertType), "命令与数据行包"));
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kInsertType), "数据"));
  EXPECT_FALSE(Shown(dlg).contains("数列长度依据"));
  EXPECT_TRUE(Shown(dlg).contains("起始值"));

  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kSequenceType), "等差数列"));
  EXPECT_TRUE(Shown(dlg).contains("数列长度依据"));
  EXPECT_TRUE(Shown(dlg).contains("步长（不为0的整数）"));
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kLengthBasis), "数量"));
  EXPECT_EQ(p.lengthBasis, kBasisCount);
  EXPECT_TRUE(Shown(dlg).contains("数量（正整数）"));

  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kReverse), "是"));
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kInvert), "是"));
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kCodeType), "BCD-HEX"));
  EXPECT_EQ(p.reverse, kChoiceYes);
  EXPECT_EQ(p.invert, kChoiceYes);
  EXPECT_EQ(p.codeType, kCodeBcdHex);
  EXPECT_FALSE(Enter(dlg, dlg.Row(GeneratorProperty::kCodeType), "八进制"));
  EXPECT_EQ(p.codeType, kCodeBcdHex);
}

TEST_F(CBulkDataDlgTest, RefusedValuesAreAnsweredAndRestored) {
  CBulkDataDlg dlg(p);
  test::ModalAnswerer answerer;
  struct Case {
    GeneratorProperty property;
    QString text;
    QString message;
  };
  const Case cases[] = {
      {GeneratorProperty::kValidBits, "64", "您输入的数据已经超出范围!"},
      {GeneratorProperty::kValidBits, "0", "您输入的数据已经超出范围!"},
      {GeneratorProperty::kStart, "-1", "您输入的数据不符合要求，必须是不小于0的整数"},
      {GeneratorProperty::kEnd, "-", "您输入的数据不符合要求，必须是不小于0的整数"},
      {GeneratorProperty::kStepOrCount, "0", "您输入的数据不符合要求"},
      {GeneratorProperty::kInsertType, "命令与数据行包", ""},  // the packet properties show
      {GeneratorProperty::kCommandsPerPacket, "101", "您输入的数据已经超出范围!"},
      {GeneratorProperty::kDataPerPacket, "0", "您输入的数据已经超出范围!"},
      {GeneratorProperty::kPacketRepetitions, "-1", "您输入的数据已经超出范围!"},
  };
  for (const Case& c : cases) {
    if (c.message.isEmpty()) {
      ASSERT_TRUE(Enter(dlg, dlg.Row(c.property), c.text));
      continue;
    }
    PropertyRow* row = dlg.Row(c.property);
    const QVariant before = row->value;
    const GeneratorParameters saved = p;
    answerer.texts.clear();
    EXPECT_FALSE(Enter(dlg, row, c.text)) << c.text.toStdString();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !answerer.texts.isEmpty(); }, 2000)) << c.text.toStdString();
    EXPECT_EQ(answerer.texts, QStringList{c.message}) << c.text.toStdString();
    EXPECT_EQ(row->value, before);
    EXPECT_EQ(p, saved);
  }
  EXPECT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kPacketRepetitions), "100"));
  EXPECT_EQ(p.packetRepetitions, 100);
  ASSERT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kInsertType), "数据"));
  EXPECT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kStepOrCount), "-3"));
  EXPECT_EQ(p.stepOrCount, -3);
  EXPECT_TRUE(Enter(dlg, dlg.Row(GeneratorProperty::kValidBits), "63"));
  EXPECT_EQ(p.validBits, 63);
}

TEST_F(CBulkDataDlgTest, PreviewShowsTheFirstValues) {
  CBulkDataDlg dlg(p);
  Enter(dlg, dlg.Row(GeneratorProperty::kEnd), "10");
  Enter(dlg, dlg.Row(GeneratorProperty::kStepOrCount), "2");
  dlg.Preview();
  EXPECT_EQ(dlg.Row(GeneratorProperty::kPreview)->value.toString(), " 0 2 4 6 8");
  EXPECT_EQ(dlg.HexPreviewRow()->value.toString(), " 0x0 0x2 0x4 0x6 0x8");

  Enter(dlg, dlg.Row(GeneratorProperty::kInsertType), "命令与数据行包");
  Enter(dlg, dlg.Row(GeneratorProperty::kCommandsPerPacket), "2");
  Enter(dlg, dlg.Row(GeneratorProperty::kPacketRepetitions), "3");
  dlg.Preview();
  EXPECT_EQ(dlg.HexPreviewRow()->value.toString(), "C C D C C D C C D ");
  EXPECT_EQ(p.hexPreview, "C C D C C D C C D ");
}

TEST_F(CBulkDataDlgTest, OkGeneratesUpToTheLimitAndCancelKeepsTheSettings) {
  {
    CBulkDataDlg dlg(p);
    Enter(dlg, dlg.Row(GeneratorProperty::kEnd), "20000");
    Enter(dlg, dlg.Row(GeneratorProperty::kValidBits), "16");
    dlg.Preview();
    EXPECT_EQ(p.result.size(), 30u);
    dlg.accept();
    EXPECT_EQ(dlg.result(), QDialog::Accepted);
    ASSERT_EQ(p.result.size(), 10000u);
    EXPECT_EQ(p.result.back(), 9999);
  }
  {
    CBulkDataDlg dlg(p);
    EXPECT_EQ(dlg.Row(GeneratorProperty::kEnd)->value.toLongLong(), 20000);
    Enter(dlg, dlg.Row(GeneratorProperty::kValidBits), "5");
    dlg.reject();
  }
  EXPECT_EQ(p.validBits, 5);
  EXPECT_EQ(p.end, 20000);
}

}  // namespace
}  // namespace radove
