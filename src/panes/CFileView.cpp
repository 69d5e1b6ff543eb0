#include "panes/CFileView.h"

#include <QHeaderView>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "panes/PaneIcons.h"

namespace radove {
namespace {

int IconForIoType(int ioType) {
  switch (ioType) {
    case 10: return 2;  // input
    case 11: return 3;  // output
    case 12: return 4;  // bidirectional
    default: return 1;
  }
}

QString ConnectionText(int connection) {
  switch (connection) {
    case kPinUnconnected: return QStringLiteral("-");
    case kPinVcc: return QStringLiteral("VCC");
    case kPinGnd: return QStringLiteral("GND");
    default: return QString::number(connection);
  }
}

}  // namespace

CFileView::CFileView(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tree_ = new QTreeWidget(this);
  tree_->setColumnCount(1);
  tree_->header()->hide();
  tree_->setFrameShape(QFrame::NoFrame);
  tree_->setUniformRowHeights(true);
  auto* root = new QTreeWidgetItem(tree_, {QStringLiteral("没有器件")});
  root->setIcon(0, PinTreeIcon(0));
  layout->addWidget(tree_);
}

void CFileView::RebuildPinTree(bool empty, const std::string& deviceTypeEn, const PinList* pins) {
  tree_->clear();
  if (empty || !pins) return;
  auto* root = new QTreeWidgetItem(tree_, {QString::fromStdString(deviceTypeEn)});
  root->setIcon(0, PinTreeIcon(0));
  const QIcon icons[5] = {PinTreeIcon(0), PinTreeIcon(1), PinTreeIcon(2), PinTreeIcon(3),
                          PinTreeIcon(4)};
  for (const PinRecord& pin : *pins) {
    auto* item = new QTreeWidgetItem(root, {QString::fromStdString(pin.nameEn)});
    item->setIcon(0, icons[IconForIoType(pin.ioType)]);
    QString tip = QString::fromStdString(pin.nameCn);
    if (!pin.description.empty()) tip += QLatin1Char('\n') + QString::fromStdString(pin.description);
    tip += QStringLiteral("\n引脚 %1，连接: %2").arg(pin.ownNumber).arg(ConnectionText(pin.connection));
    item->setToolTip(0, tip.trimmed());
  }
  root->setExpanded(true);
}

}  // namespace radove
