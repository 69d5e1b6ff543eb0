#include "panes/COutputWnd.h"

#include <QApplication>
#include <QClipboard>
#include <QKeySequence>
#include <QListWidget>
#include <QMenu>
#include <QTabWidget>
#include <QVBoxLayout>

namespace radove {
namespace {

struct ListText {
  const char* tab;
  const char* initial;  // the line a new list starts with
  const char* header;   // the line a cleared list starts with
};

const ListText kLists[3] = {
    {"状态", "用户的操作状态显示视图...", "用户操作状态"},
    {"交互", "接口的输入与输出数据显示视图", "交互状态"},
    {"信息", "器件状态信息视图", "对输入接口数据的解析信息"},
};

}  // namespace

COutputWnd::COutputWnd(QWidget* parent) : QWidget(parent) {
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  tabs_ = new QTabWidget(this);
  tabs_->setTabPosition(QTabWidget::South);
  tabs_->setDocumentMode(true);
  for (int i = 0; i < 3; ++i) {
    auto* list = new QListWidget(tabs_);
    list->setUniformItemSizes(true);
    list->setSelectionMode(QAbstractItemView::ExtendedSelection);
    list->setContextMenuPolicy(Qt::CustomContextMenu);
    list->setFrameShape(QFrame::NoFrame);
    list->addItem(QString::fromUtf8(kLists[i].initial));
    connect(list, &QWidget::customContextMenuRequested, this,
            [this, list](const QPoint& pos) { ShowContextMenu(list, pos); });
    auto* copy = new QAction(list);
    copy->setShortcut(QKeySequence::Copy);
    copy->setShortcutContext(Qt::WidgetShortcut);
    list->addAction(copy);
    connect(copy, &QAction::triggered, this, [this, list] { CopyLines(list); });
    lists_[i] = list;
    tabs_->addTab(list, QString::fromUtf8(kLists[i].tab));
  }
  layout->addWidget(tabs_);
}

QListWidget* COutputWnd::List(int index) const { return lists_[index]; }

QStringList COutputWnd::Lines(int index) const {
  QStringList lines;
  const QListWidget* list = lists_[index];
  lines.reserve(list->count());
  for (int i = 0; i < list->count(); ++i) lines << list->item(i)->text();
  return lines;
}

void COutputWnd::AppendOutput(int category, const QString& text) {
  if (category < 0 || category > 2) return;
  QListWidget* list = lists_[category];
  list->addItem(text);
  if (category == 2) {
    list->setCurrentRow(list->count() - 1);
    list->scrollToBottom();
  }
}

void COutputWnd::ClearOutput(int which) {
  for (int i = 0; i < 3; ++i) {
    if (which != 0 && which != i + 1) continue;
    lists_[i]->clear();
    lists_[i]->addItem(QString::fromUtf8(kLists[i].header));
  }
}

void COutputWnd::CopyLines(QListWidget* list) {
  // The selected lines, or the whole list when nothing is selected.
  QStringList lines;
  const auto selected = list->selectedItems();
  for (int i = 0; i < list->count(); ++i) {
    QListWidgetItem* item = list->item(i);
    if (selected.isEmpty() || item->isSelected()) lines << item->text();
  }
  QApplication::clipboard()->setText(lines.join(QLatin1Char('\n')));
}

void COutputWnd::ShowContextMenu(QListWidget* list, const QPoint& pos) {
  QMenu menu(this);
  QAction* copy = menu.addAction(QStringLiteral("复制(&C)"));
  QAction* clear = menu.addAction(QStringLiteral("清除(&C)"));
  menu.addSeparator();
  QAction* hide = menu.addAction(QStringLiteral("隐藏(&H)"));
  QAction* chosen = menu.exec(list->viewport()->mapToGlobal(pos));
  if (chosen == copy) {
    CopyLines(list);
  } else if (chosen == clear) {
    for (int i = 0; i < 3; ++i) {
      if (lists_[i] == list) ClearOutput(i + 1);
    }
  } else if (chosen == hide) {
    emit HideRequested();
  }
}

}  // namespace radove
