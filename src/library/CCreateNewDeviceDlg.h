#pragma once
// "新建器件": appends a user-defined device type to the device library (library
// "用户自定义"). The category, model, name, description and model class are
// entered; the model must be new to the library. The pin grid and the preview
// choice are for sketching the device: neither is stored, and the new device has
// no pins in the library.

#include <QAbstractTableModel>
#include <QDialog>
#include <QStyledItemDelegate>
#include <array>
#include <cstdint>
#include <vector>

#include "library/LibraryDb.h"

class QComboBox;
class QLineEdit;
class QMenu;
class QTableView;

namespace radove {

// The pin grid: one row per pin, numbered from 1 in column 0.
class NewPinGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  enum Column {
    kNumber = 0,   // "序号"
    kName,         // "名称"
    kPinNumber,    // "引脚号"
    kType,         // "类型"
    kActiveLevel,  // "有效电平"
    kOutputLevel,  // "默认输出"
    kEdge,         // "触发边沿"
    kFunction,     // "特殊功能"
    kColumnCount
  };
  using Row = std::array<QString, kColumnCount>;   // column 0 unused: rows number themselves
  static constexpr QRgb kCellColour = 0xFFFFFFE0;  // RGB(255,255,224)

  explicit NewPinGridModel(QObject* parent = nullptr);

  // The options of a choice column; empty for the other columns.
  static QStringList Options(int column);

  // Appends a pin with the defaults; returns its 0-based row.
  int AddPin();
  // Removes the pin at a 0-based row; false when there is none.
  bool RemovePin(int row);
  void RemoveAll();
  int PinCount() const { return static_cast<int>(rows_.size()); }

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // A name is any non-blank text, a pin number a whole number from 0 to 9999, a
  // choice one of its column's options; anything else leaves the cell as it was.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 private:
  std::vector<Row> rows_;
};

// The choice cells' editor: a drop-down list of the column's options.
class PinChoiceDelegate : public QStyledItemDelegate {
  Q_OBJECT
 public:
  using QStyledItemDelegate::QStyledItemDelegate;
  QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option,
                        const QModelIndex& index) const override;
  void setEditorData(QWidget* editor, const QModelIndex& index) const override;
  void setModelData(QWidget* editor, QAbstractItemModel* model,
                    const QModelIndex& index) const override;
};

class CCreateNewDeviceDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CCreateNewDeviceDlg(const LibraryDb& db, QWidget* parent = nullptr);

  // The id of the row OK stored; -1 before that.
  std::int64_t NewRowId() const { return newRowId_; }
  // The entry as the dialog's fields hold it now.
  NewDeviceEntry Entry() const;

  // The pin grid's commands. gridRow counts as the grid does: 1..N the pins, 0 the
  // header, -1 no row.
  void AddPin();
  void DeletePin(int gridRow);
  void DeleteAllPins();

  // OK: checks the entry, stores it and closes; a refused or failed entry is
  // explained and the dialog stays open with everything as typed.
  void accept() override;

  QComboBox* LibraryBox() const { return library_; }
  QComboBox* CategoryBox() const { return category_; }
  QLineEdit* ModelEdit() const { return model_; }
  QLineEdit* NameEdit() const { return name_; }
  QLineEdit* DescriptionEdit() const { return description_; }
  QLineEdit* ClassNameEdit() const { return className_; }
  QComboBox* PreviewBox() const { return preview_; }
  NewPinGridModel* PinModel() const { return pins_; }
  QTableView* Grid() const { return grid_; }
  QMenu* ContextMenu() const { return menu_; }

 private:
  void ShowContextMenu(const QPoint& pos);
  void Tell(const QString& caption, const QString& text);

  LibraryDb db_;
  std::int64_t newRowId_ = -1;
  int clickedRow_ = -1;  // the grid row of the last right click

  QComboBox* library_;
  QComboBox* category_;
  QLineEdit* model_;
  QLineEdit* name_;
  QLineEdit* description_;
  QLineEdit* className_;
  QComboBox* preview_;
  NewPinGridModel* pins_;
  QTableView* grid_;
  QMenu* menu_;
};

}  // namespace radove
