#pragma once
// "批量插入设置": describes a sequence (or a pattern of command and data packets)
// in a property grid, previews its first values and generates it on OK.
//
// The dialog edits the caller's settings record in place, so the settings outlive
// the dialog whichever button closes it; after OK the record's result holds up to
// kGenerateLimit values and its insert type says how to turn them into rows.

#include <QDialog>

#include "tools/BulkGenerator.h"

class QPushButton;

namespace radove {

class CPropertyGrid;
struct PropertyRow;

class CBulkDataDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CBulkDataDlg(GeneratorParameters& parameters, QWidget* parent = nullptr);

  // "预览": generates the first kPreviewLimit values and shows them.
  void Preview();
  // "确定": generates up to kGenerateLimit values, then closes with OK.
  void accept() override;

  CPropertyGrid* Grid() const { return grid_; }
  // The grid row of a property; for kPreview the decimal one (see HexPreviewRow).
  PropertyRow* Row(GeneratorProperty property) const;
  PropertyRow* HexPreviewRow() const { return hexPreview_; }
  PropertyRow* SequenceGroup() const { return sequenceGroup_; }
  PropertyRow* PacketGroup() const { return packetGroup_; }

 private:
  void BuildGrid();
  void ApplyVisibility(bool insertTypeChanged);
  void OnValueEdited(PropertyRow* row, const QVariant& previous);
  void OnValueRejected(PropertyRow* row, const QVariant& proposed);
  void ShowMessage(const QString& text);

  GeneratorParameters& p_;
  CPropertyGrid* grid_;
  QPushButton* previewButton_;
  std::vector<std::pair<GeneratorProperty, PropertyRow*>> rows_;
  PropertyRow* sequenceGroup_ = nullptr;
  PropertyRow* packetGroup_ = nullptr;
  PropertyRow* decimalPreview_ = nullptr;
  PropertyRow* hexPreview_ = nullptr;
};

}  // namespace radove
