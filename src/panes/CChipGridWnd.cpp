#include "panes/CChipGridWnd.h"

#include <QTreeView>
#include <QVBoxLayout>

#include "panes/CPropertyGrid.h"
#include "panes/PaneStatus.h"

namespace radove {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

const QString kReady = QStringLiteral("就绪");

}  // namespace

CChipGridWnd::CChipGridWnd(Source source, QWidget* parent)
    : QWidget(parent), source_(source) {
  const bool registers = source == Source::Registers;
  grid_ = new CPropertyGrid(registers ? QStringLiteral("寄存器窗口") : QStringLiteral("内存窗口"),
                            this);
  updateText_ = registers ? QStringLiteral("更新寄存器窗口数据项") : QStringLiteral("更新内存窗口数据项");
  clearText_ = registers ? QStringLiteral("清除寄存器窗口数据项") : QStringLiteral("清除内存窗口数据项");
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
}

const std::vector<InspectionGroup>& CChipGridWnd::GroupsOf(const ChipDescriptor& chip) const {
  return source_ == Source::Registers ? chip.registers : chip.memory;
}

void CChipGridWnd::UpdatePane(const InspectionSnapshot& inspection, int mode) {
  const bool full = mode == kFull;
  PropertyGridModel* model = grid_->Model();
  model->BeginBatch();
  cleared_ = false;

  std::size_t chipUsed = 0;
  for (const ChipDescriptor& chip : inspection.chips) {
    if (chipUsed == chips_.size()) {
      ChipRows rows;
      rows.row = model->AddGroup(nullptr, Q(chip.name), full);
      chips_.push_back(std::move(rows));
    } else {
      model->SetName(chips_[chipUsed].row, Q(chip.name));
      model->SetHidden(chips_[chipUsed].row, false);
    }
    ChipRows& chipRows = chips_[chipUsed++];

    std::size_t groupUsed = 0;
    for (const InspectionGroup& group : GroupsOf(chip)) {
      if (groupUsed == chipRows.groups.size()) {
        GroupRows rows;
        rows.row = model->AddGroup(chipRows.row, Q(group.name), false);
        chipRows.groups.push_back(std::move(rows));
      } else {
        model->SetName(chipRows.groups[groupUsed].row, Q(group.name));
        model->SetHidden(chipRows.groups[groupUsed].row, false);
      }
      GroupRows& groupRows = chipRows.groups[groupUsed++];

      const bool progress = full && !group.entries.empty() && status_;
      if (progress) {
        status_->BeginProgress(static_cast<int>(group.entries.size()));
        status_->SetPrompt(updateText_);
      }
      std::size_t entryUsed = 0;
      for (const InspectionEntry& entry : group.entries) {
        const QString value = Q(entry.value);
        if (entryUsed == groupRows.entries.size()) {
          PropertyRow* row = model->AddProperty(groupRows.row, PropertyKind::Text, Q(entry.name),
                                                value, Q(entry.description), entry.tag);
          // The grids only show the chips; nothing typed here could reach them.
          row->editable = false;
          groupRows.entries.push_back(row);
        } else {
          PropertyRow* row = groupRows.entries[entryUsed];
          model->SetName(row, Q(entry.name));
          model->SetValue(row, value, !full);
          if (full) model->AcceptValue(row);
          model->SetDescription(row, Q(entry.description));
          model->SetTag(row, entry.tag);
          model->SetHidden(row, false);
        }
        ++entryUsed;
        if (progress) status_->StepProgress(static_cast<int>(entryUsed));
      }
      if (progress) status_->EndProgress();
      if (full) {
        for (std::size_t i = entryUsed; i < groupRows.entries.size(); ++i) {
          model->SetHidden(groupRows.entries[i], true);
        }
        model->SetExpanded(groupRows.row, false);
      }
    }
    if (full) {
      for (std::size_t i = groupUsed; i < chipRows.groups.size(); ++i) {
        model->SetHidden(chipRows.groups[i].row, true);
      }
      model->SetExpanded(chipRows.row, true);
    }
  }
  if (full) {
    for (std::size_t i = chipUsed; i < chips_.size(); ++i) model->SetHidden(chips_[i].row, true);
  }
  if (status_) status_->SetPrompt(kReady);
  model->EndBatch();
}

void CChipGridWnd::ClearPane() {
  if (cleared_) {
    grid_->View()->viewport()->update();
    return;
  }
  cleared_ = true;
  ++clearPasses_;
  PropertyGridModel* model = grid_->Model();
  model->BeginBatch();
  bool progress = false;
  for (ChipRows& chip : chips_) {
    for (GroupRows& group : chip.groups) {
      if (group.entries.empty()) continue;
      if (status_) {
        status_->BeginProgress(static_cast<int>(group.entries.size()));
        status_->SetPrompt(clearText_);
        progress = true;
      }
      int done = 0;
      for (PropertyRow* row : group.entries) {
        model->SetHidden(row, true);
        if (status_) status_->StepProgress(++done);
      }
    }
  }
  for (ChipRows& chip : chips_) model->SetHidden(chip.row, true);
  if (progress) status_->EndProgress();
  if (status_) status_->SetPrompt(kReady);
  model->EndBatch();
}

CChipGridWnd::RowCounts CChipGridWnd::Created() const {
  RowCounts c;
  for (const ChipRows& chip : chips_) {
    ++c.chips;
    for (const GroupRows& group : chip.groups) {
      ++c.groups;
      c.entries += static_cast<int>(group.entries.size());
    }
  }
  return c;
}

CChipGridWnd::RowCounts CChipGridWnd::Visible() const {
  // A row counts as visible when it and every row above it are shown.
  RowCounts c;
  for (const ChipRows& chip : chips_) {
    if (chip.row->hidden) continue;
    ++c.chips;
    for (const GroupRows& group : chip.groups) {
      if (group.row->hidden) continue;
      ++c.groups;
      for (const PropertyRow* row : group.entries) {
        if (!row->hidden) ++c.entries;
      }
    }
  }
  return c;
}

}  // namespace radove
