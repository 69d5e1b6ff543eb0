#pragma once
// "引脚设置": the pins of the current device, one grid row per pin, and what each
// pin is tied to: nothing ("-"), "VCC", "GND" or a pin of the target board (its
// number). Only that connection can be edited; a text that is no connection is
// refused where it is typed, and the cell keeps its previous label.
//
// The dialog works on a copy of the pin list. After OK, Pins() is the list with the
// connections written back (the caller stores it in the document); after Cancel it
// is the list as it came in. Either way the caller hands that list to the device
// through ApplyPinLevels.

#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>

#include "library/PinConnections.h"

class QTableView;

namespace radove {

// The grid: eight columns per pin, the last one the connection's label.
class PinGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column {
    kNumber = 0,   // "序号"
    kDeviceType,   // "器件类型"
    kDeviceName,   // "器件名称"
    kPinName,      // "引脚名"
    kIoType,       // "引脚类型"
    kActiveLevel,  // "有效电平"
    kOutputLevel,  // "默认输出"
    kConnection,   // "引脚电平"
    kColumnCount
  };
  static constexpr QRgb kCellColour = 0xFFFFFFE0;   // RGB(255,255,224)
  static constexpr QRgb kClockColour = 0xFFFFA07A;  // RGB(255,160,122)

  PinGridModel(const PinList& pins, const ConnectionLabels& labels, QObject* parent = nullptr);

  // The connection texts as the grid shows them, one per pin.
  const std::vector<std::string>& ConnectionTexts() const { return texts_; }
  const std::vector<std::string>& Choices() const { return choices_; }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Takes a connection label (blanks around it dropped); any other text is refused
  // with EditRefused and the cell keeps its label.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 signals:
  void EditRefused(const QString& message);

 private:
  const PinList& pins_;
  const ConnectionLabels& labels_;
  std::vector<std::string> texts_;
  std::vector<std::string> choices_;
};

// The connection cell's editor: a combo box with the choices and an edit field.
class ConnectionDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};

class CGpioAssignDlg : public QDialog {
  Q_OBJECT
 public:
  // pins: the document's pin list of the current device (empty when no device is
  // chosen or it has no pins). labels: the view's target board tables.
  CGpioAssignDlg(const PinList& pins, const ConnectionLabels& labels, QWidget* parent = nullptr);

  // The pin list to store and apply: with the edited connections after OK, as it
  // came in otherwise.
  const PinList& Pins() const { return pins_; }
  // How many connections OK changed.
  int ChangedCount() const { return changed_; }

  PinGridModel* Model() const { return model_; }
  QTableView* Grid() const { return grid_; }

  void accept() override;

 private:
  PinList pins_;
  ConnectionLabels labels_;
  PinGridModel* model_;
  QTableView* grid_;
  int changed_ = 0;
};

}  // namespace radove
