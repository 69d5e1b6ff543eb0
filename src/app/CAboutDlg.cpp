#include "app/CAboutDlg.h"

#include <QDialogButtonBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "app/AppIcons.h"

namespace radove {
namespace {

QDialogButtonBox* OkButton(QDialog* dialog) {
  auto* buttons = new QDialogButtonBox(dialog);
  QPushButton* ok = buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole);
  ok->setDefault(true);
  QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
  return buttons;
}

QLabel* Picture(QDialog* dialog, int size) {
  auto* label = new QLabel(dialog);
  label->setPixmap(ApplicationIcon().pixmap(size, size));
  label->setAlignment(Qt::AlignTop);
  return label;
}

// The icon of the given size beside the text, and 确定 under both.
void LayOut(QDialog* dialog, int iconSize, QLabel* text) {
  auto* row = new QHBoxLayout;
  row->addWidget(Picture(dialog, iconSize));
  row->addSpacing(12);
  row->addWidget(text, 1);
  auto* layout = new QVBoxLayout(dialog);
  layout->addLayout(row);
  layout->addWidget(OkButton(dialog));
  layout->setSizeConstraint(QLayout::SetFixedSize);
}

}  // namespace

CAboutDlg::CAboutDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("关于 Radove"));
  auto* text = new QLabel(QString::fromUtf8(kVersionText), this);
  text->setObjectName(QStringLiteral("versionText"));
  LayOut(this, 32, text);
}

CTeamDlg::CTeamDlg(QWidget* parent) : QDialog(parent) {
  setWindowTitle(QStringLiteral("关于创作团队"));
  auto* text = new QLabel(this);
  text->setObjectName(QStringLiteral("teamText"));
  text->setWordWrap(true);
  text->setTextFormat(Qt::PlainText);
  text->setText(QStringLiteral(
      "Radove 仿真器由 Radove 开发团队编写和维护。\n\n"
      "我们为学习和调试单片机外设驱动程序的人们制作这个工具：在电脑上把命令和数据送进"
      "字符液晶、图形液晶、LED 与各种小器件的模型，一步一步地观察芯片的寄存器、内存和显示。\n\n"
      "程序使用 Qt、SQLite 与 GNU Unifont 字库。欢迎把问题和建议告诉我们。"));
  text->setMinimumWidth(360);
  LayOut(this, 64, text);
}

}  // namespace radove
