#include "app/CToolbarCustomizeDlg.h"

#include <QAction>
#include <QDialogButtonBox>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QVBoxLayout>

namespace radove {

CToolbarCustomizeDlg::CToolbarCustomizeDlg(const QList<QAction*>& all, const QList<QAction*>& shown,
                                           QWidget* parent)
    : QDialog(parent), all_(all) {
  setWindowTitle(QStringLiteral("自定义"));
  list_ = new QListWidget(this);
  for (QAction* action : all_) {
    auto* item = new QListWidgetItem(action->icon(), action->toolTip(), list_);
    item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable | Qt::ItemIsSelectable);
    item->setCheckState(shown.contains(action) ? Qt::Checked : Qt::Unchecked);
  }
  auto* buttons = new QDialogButtonBox(this);
  QPushButton* reset = buttons->addButton(QStringLiteral("全部重置"), QDialogButtonBox::ResetRole);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  connect(reset, &QPushButton::clicked, this, [this] {
    for (int i = 0; i < list_->count(); ++i) list_->item(i)->setCheckState(Qt::Checked);
  });
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
  auto* layout = new QVBoxLayout(this);
  layout->addWidget(new QLabel(QStringLiteral("工具栏“标准”显示的按钮:"), this));
  layout->addWidget(list_, 1);
  layout->addWidget(buttons);
  resize(320, 420);
}

QList<QAction*> CToolbarCustomizeDlg::Shown() const {
  QList<QAction*> shown;
  for (int i = 0; i < list_->count(); ++i) {
    if (list_->item(i)->checkState() == Qt::Checked) shown << all_[i];
  }
  return shown;
}

}  // namespace radove
