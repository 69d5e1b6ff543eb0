#pragma once
// The model behind every property grid: a tree of groups and typed properties.
//
// Rows are owned by their parent and are never deleted while the grid lives (only
// by RemoveAll), so the register and memory panes can keep pointers to the rows they
// reuse from one update to the next. A hidden row is simply not exposed to the view,
// which keeps hiding and showing thousands of rows cheap. Changes made between
// BeginBatch and EndBatch reach the view once, as one reset when rows were added,
// hidden or shown, or as value changes otherwise.

#include <QAbstractItemModel>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

namespace radove {

enum class PropertyKind { Group, Integer, Text, Colour, File, Choice };

struct PropertyRow {
  PropertyKind kind = PropertyKind::Text;
  QString name;
  // qint64 for integers and colours (0x00BBGGRR), text for the other kinds.
  QVariant value;
  // The value the modified mark compares with.
  QVariant original;
  QString description;
  qint64 tag = 0;
  QStringList options;  // the choices of a choice property
  QString filter;       // the file dialog filter of a file property, Qt form
  bool hidden = false;
  bool expanded = false;
  bool editable = true;

  PropertyRow* parent = nullptr;
  std::vector<std::unique_ptr<PropertyRow>> children;

  bool IsGroup() const { return kind == PropertyKind::Group; }
  bool Modified() const { return !IsGroup() && value != original; }

 private:
  friend class PropertyGridModel;
  std::vector<PropertyRow*> shown_;  // the visible children in display order
  int shownRow_ = -1;                // this row's place in its parent's shown_
  bool pendingChange_ = false;
};

// The text a property's value shows in the grid.
QString PropertyValueText(const PropertyRow& row);

class PropertyGridModel : public QAbstractItemModel {
  Q_OBJECT
 public:
  // Decides whether an edited value may replace the current one. The proposed
  // value is qint64 for integers and colours (invalid when the text was not a
  // number), text otherwise.
  using Validator = std::function<bool(const PropertyRow& row, const QVariant& proposed)>;

  explicit PropertyGridModel(QObject* parent = nullptr);
  ~PropertyGridModel() override;

  void BeginBatch();
  void EndBatch();

  PropertyRow* Root() { return &root_; }
  PropertyRow* AddGroup(PropertyRow* parent, const QString& name, bool expanded = true);
  PropertyRow* AddProperty(PropertyRow* parent, PropertyKind kind, const QString& name,
                           const QVariant& value, const QString& description = {},
                           qint64 tag = 0);
  void SetName(PropertyRow* row, const QString& name);
  // With rememberPrevious the modified mark compares with the value replaced here,
  // otherwise the mark keeps its reference value.
  void SetValue(PropertyRow* row, const QVariant& value, bool rememberPrevious = false);
  // The current value becomes the reference of the modified mark.
  void AcceptValue(PropertyRow* row);
  void SetDescription(PropertyRow* row, const QString& description);
  void SetTag(PropertyRow* row, qint64 tag);
  void SetHidden(PropertyRow* row, bool hidden);
  void SetExpanded(PropertyRow* row, bool expanded);
  void SetAllExpanded(bool expanded);
  void RemoveAll();

  void SetSorted(bool sorted);
  bool Sorted() const { return sorted_; }
  void SetMarkModified(bool mark) { markModified_ = mark; }
  void SetValidator(Validator validator) { validator_ = std::move(validator); }

  PropertyRow* RowAt(const QModelIndex& index) const;
  // The index of a row the view shows; invalid for a hidden row or one under a
  // hidden parent.
  QModelIndex IndexOf(const PropertyRow* row, int column = 0) const;
  bool IsShown(const PropertyRow* row) const;
  // Every row in display order (shown rows only), for walking the view's tree.
  template <class F>
  void ForEachShown(F&& f) const {
    WalkShown(&root_, f);
  }

  // QAbstractItemModel
  QModelIndex index(int row, int column, const QModelIndex& parent = {}) const override;
  QModelIndex parent(const QModelIndex& child) const override;
  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  bool hasChildren(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role = Qt::DisplayRole) const override;

 signals:
  // A value was changed through the grid (not through SetValue).
  void ValueEdited(radove::PropertyRow* row, const QVariant& previous);
  // The validator refused an edited value; the row keeps its value.
  void ValueRejected(radove::PropertyRow* row, const QVariant& proposed);
  // The view should take the rows' expansion flags (after a reset or an expansion
  // change made by the program).
  void ExpansionChanged();

 private:
  // Hangs a new row under parent and brings the view up to date.
  PropertyRow* Append(PropertyRow* parent, std::unique_ptr<PropertyRow> row);
  template <class F>
  static void WalkShown(const PropertyRow* row, F& f) {
    for (PropertyRow* child : row->shown_) {
      f(child);
      WalkShown(child, f);
    }
  }
  void RebuildShown(PropertyRow* row);
  void MarkChanged(PropertyRow* row);
  void Flush();
  QVariant Propose(const PropertyRow& row, const QVariant& input) const;

  PropertyRow root_;
  int batchDepth_ = 0;
  bool structureDirty_ = false;
  bool expansionDirty_ = false;
  std::vector<PropertyRow*> changed_;
  bool sorted_ = false;
  bool markModified_ = true;
  Validator validator_;
};

}  // namespace radove
