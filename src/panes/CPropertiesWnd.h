#pragma once
// The properties pane ("属性"): the device's library texts under "基本" and its user
// properties under "高级", built from the device's property set. Edits are passed
// on as signals; the view hands them to the device and stores the set.

#include <QWidget>
#include <cstdint>
#include <string>

#include "core/Records.h"

namespace radove {

class CPropertyGrid;
struct PropertyRow;

struct PropertyBasics {
  std::string typeEn;         // "名称"
  std::string categoryCn;     // "库"
  std::string subCategoryCn;  // "类别"
};

// "Picture Files(*.bmp)|*.bmp|" (pairs of description and pattern) in Qt's form,
// "Picture Files(*.bmp) (*.bmp)".
QString QtFileFilter(const std::string& pairs);

class CPropertiesWnd : public QWidget {
  Q_OBJECT
 public:
  explicit CPropertiesWnd(QWidget* parent = nullptr);

  // Removes every property; unless empty is true, adds "基本" when texts is given
  // and "高级" with the properties of the set when set is given.
  void RebuildProperties(bool empty, const PropertyBasics* texts, const PropertySet* set);

  CPropertyGrid* Grid() const { return grid_; }

 signals:
  void IntPropertyChanged(std::uint32_t tag, int value);
  void StringPropertyChanged(std::uint32_t tag, const QString& text);

 private:
  void OnEdited(PropertyRow* row);

  CPropertyGrid* grid_;
};

}  // namespace radove
