#include "panes/PropertyGridModel.h"

#include <QColor>
#include <QFont>
#include <QGuiApplication>
#include <QPainter>
#include <QPalette>
#include <QPixmap>
#include <QRegularExpression>
#include <algorithm>

namespace radove {
namespace {

QColor FromBgr(qint64 v) {
  return QColor(static_cast<int>(v & 0xFF), static_cast<int>((v >> 8) & 0xFF),
                static_cast<int>((v >> 16) & 0xFF));
}

qint64 ToBgr(const QColor& c) {
  return static_cast<qint64>(c.red()) | (static_cast<qint64>(c.green()) << 8) |
         (static_cast<qint64>(c.blue()) << 16);
}

// A colour typed into the grid: "#RRGGBB", "r,g,b", or a raw 0x00BBGGRR number
// written "0x..." (the form the settings store). The raw form may be out of range;
// the validator decides.
QVariant ParseColourText(const QString& input) {
  const QString text = input.trimmed();
  if (text.startsWith(QLatin1Char('#'))) {
    const QColor c(text);
    if (c.isValid() && text.size() == 7) return ToBgr(c);
    return {};
  }
  if (text.startsWith(QLatin1String("0x"), Qt::CaseInsensitive)) {
    bool ok = false;
    const qint64 v = text.mid(2).toLongLong(&ok, 16);
    return ok ? QVariant(v) : QVariant();
  }
  static const QRegularExpression triple(QStringLiteral("^(\\d+)\\s*,\\s*(\\d+)\\s*,\\s*(\\d+)$"));
  const auto m = triple.match(text);
  if (m.hasMatch()) {
    const int r = m.captured(1).toInt(), g = m.captured(2).toInt(), b = m.captured(3).toInt();
    if (r > 255 || g > 255 || b > 255) return qint64(-1);
    return ToBgr(QColor(r, g, b));
  }
  return {};
}

// Names compared the way people read them: runs of digits by their value ("R9"
// before "R10"), everything else without regard to case.
int NaturalCompare(const QString& a, const QString& b) {
  qsizetype i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    if (a[i].isDigit() && b[j].isDigit()) {
      qsizetype ei = i, ej = j;
      while (ei < a.size() && a[ei].isDigit()) ++ei;
      while (ej < b.size() && b[ej].isDigit()) ++ej;
      // Leading zeros aside, the longer run is the larger number.
      qsizetype si = i, sj = j;
      while (si + 1 < ei && a[si] == QLatin1Char('0')) ++si;
      while (sj + 1 < ej && b[sj] == QLatin1Char('0')) ++sj;
      const QStringView ta = QStringView(a).mid(si, ei - si);
      const QStringView tb = QStringView(b).mid(sj, ej - sj);
      if (ta.size() != tb.size()) return ta.size() < tb.size() ? -1 : 1;
      if (const int c = ta.compare(tb)) return c;
      i = ei;
      j = ej;
      continue;
    }
    const QChar ca = a[i].toCaseFolded(), cb = b[j].toCaseFolded();
    if (ca != cb) return ca < cb ? -1 : 1;
    ++i;
    ++j;
  }
  if (i < a.size()) return 1;
  if (j < b.size()) return -1;
  return a.compare(b);
}

QPixmap Swatch(qint64 bgr) {
  QPixmap pm(14, 14);
  pm.fill(Qt::transparent);
  QPainter p(&pm);
  p.setPen(QColor(0x60, 0x60, 0x60));
  p.setBrush(FromBgr(bgr));
  p.drawRect(0, 1, 12, 11);
  return pm;
}

}  // namespace

QString PropertyValueText(const PropertyRow& row) {
  switch (row.kind) {
    case PropertyKind::Group:
      return {};
    case PropertyKind::Integer:
      return QString::number(row.value.toLongLong());
    case PropertyKind::Colour:
      return FromBgr(row.value.toLongLong()).name(QColor::HexRgb).toUpper();
    default:
      return row.value.toString();
  }
}

PropertyGridModel::PropertyGridModel(QObject* parent) : QAbstractItemModel(parent) {
  root_.kind = PropertyKind::Group;
  root_.expanded = true;
}

PropertyGridModel::~PropertyGridModel() = default;

void PropertyGridModel::BeginBatch() { ++batchDepth_; }

void PropertyGridModel::EndBatch() {
  if (batchDepth_ > 0 && --batchDepth_ == 0) Flush();
}

PropertyRow* PropertyGridModel::Append(PropertyRow* parent, std::unique_ptr<PropertyRow> row) {
  row->parent = parent;
  PropertyRow* raw = row.get();
  parent->children.push_back(std::move(row));
  structureDirty_ = true;
  Flush();
  return raw;
}

PropertyRow* PropertyGridModel::AddGroup(PropertyRow* parent, const QString& name, bool expanded) {
  if (!parent) parent = &root_;
  auto row = std::make_unique<PropertyRow>();
  row->kind = PropertyKind::Group;
  row->name = name;
  row->expanded = expanded;
  row->editable = false;
  return Append(parent, std::move(row));
}

PropertyRow* PropertyGridModel::AddProperty(PropertyRow* parent, PropertyKind kind,
                                            const QString& name, const QVariant& value,
                                            const QString& description, qint64 tag) {
  if (!parent) parent = &root_;
  auto row = std::make_unique<PropertyRow>();
  row->kind = kind;
  row->name = name;
  row->value = value;
  row->original = value;
  row->description = description;
  row->tag = tag;
  return Append(parent, std::move(row));
}

void PropertyGridModel::MarkChanged(PropertyRow* row) {
  if (structureDirty_ || row->pendingChange_) return;
  row->pendingChange_ = true;
  changed_.push_back(row);
}

void PropertyGridModel::SetName(PropertyRow* row, const QString& name) {
  if (row->name == name) return;
  row->name = name;
  // A new name can move the row when the grid is sorted.
  if (sorted_) {
    structureDirty_ = true;
  } else {
    MarkChanged(row);
  }
  Flush();
}

void PropertyGridModel::SetValue(PropertyRow* row, const QVariant& value, bool rememberPrevious) {
  const bool wasModified = row->Modified();
  const bool same = row->value == value;
  if (rememberPrevious) row->original = row->value;
  row->value = value;
  if (!same || wasModified != row->Modified()) MarkChanged(row);
  Flush();
}

void PropertyGridModel::AcceptValue(PropertyRow* row) {
  if (row->original == row->value) return;
  row->original = row->value;
  MarkChanged(row);
  Flush();
}

void PropertyGridModel::SetDescription(PropertyRow* row, const QString& description) {
  if (row->description == description) return;
  row->description = description;
  MarkChanged(row);
  Flush();
}

void PropertyGridModel::SetTag(PropertyRow* row, qint64 tag) { row->tag = tag; }

void PropertyGridModel::SetHidden(PropertyRow* row, bool hidden) {
  if (row->hidden == hidden) return;
  row->hidden = hidden;
  structureDirty_ = true;
  Flush();
}

void PropertyGridModel::SetExpanded(PropertyRow* row, bool expanded) {
  if (row->expanded == expanded) return;
  row->expanded = expanded;
  expansionDirty_ = true;
  Flush();
}

void PropertyGridModel::SetAllExpanded(bool expanded) {
  BeginBatch();
  std::vector<PropertyRow*> stack{&root_};
  while (!stack.empty()) {
    PropertyRow* row = stack.back();
    stack.pop_back();
    for (auto& child : row->children) {
      if (!child->IsGroup()) continue;
      child->expanded = expanded;
      stack.push_back(child.get());
    }
  }
  expansionDirty_ = true;
  EndBatch();
}

void PropertyGridModel::RemoveAll() {
  beginResetModel();
  root_.children.clear();
  root_.shown_.clear();
  changed_.clear();
  structureDirty_ = false;
  endResetModel();
}

void PropertyGridModel::SetSorted(bool sorted) {
  if (sorted_ == sorted) return;
  sorted_ = sorted;
  structureDirty_ = true;
  Flush();
}

void PropertyGridModel::RebuildShown(PropertyRow* row) {
  row->shown_.clear();
  for (auto& child : row->children) {
    if (child->hidden) continue;
    row->shown_.push_back(child.get());
    RebuildShown(child.get());
  }
  if (sorted_ && row->shown_.size() > 1) {
    std::stable_sort(row->shown_.begin(), row->shown_.end(),
                     [](const PropertyRow* a, const PropertyRow* b) {
                       return NaturalCompare(a->name, b->name) < 0;
                     });
  }
  for (std::size_t i = 0; i < row->shown_.size(); ++i) {
    row->shown_[i]->shownRow_ = static_cast<int>(i);
  }
}

void PropertyGridModel::Flush() {
  if (batchDepth_ > 0) return;
  if (structureDirty_) {
    beginResetModel();
    RebuildShown(&root_);
    for (PropertyRow* row : changed_) row->pendingChange_ = false;
    changed_.clear();
    structureDirty_ = false;
    endResetModel();
    expansionDirty_ = true;
  } else if (!changed_.empty()) {
    // Many changed rows are announced as one change of the top level, which makes
    // the view repaint what it shows instead of handling thousands of signals.
    constexpr std::size_t kSingleSignals = 256;
    if (changed_.size() > kSingleSignals && !root_.shown_.empty()) {
      for (PropertyRow* row : changed_) row->pendingChange_ = false;
      changed_.clear();
      emit dataChanged(index(0, 0), index(static_cast<int>(root_.shown_.size()) - 1, 1));
    } else {
      std::vector<PropertyRow*> rows;
      rows.swap(changed_);
      for (PropertyRow* row : rows) {
        row->pendingChange_ = false;
        const QModelIndex first = IndexOf(row, 0);
        if (first.isValid()) emit dataChanged(first, IndexOf(row, 1));
      }
    }
  }
  if (expansionDirty_) {
    expansionDirty_ = false;
    emit ExpansionChanged();
  }
}

PropertyRow* PropertyGridModel::RowAt(const QModelIndex& index) const {
  if (!index.isValid()) return nullptr;
  return static_cast<PropertyRow*>(index.internalPointer());
}

bool PropertyGridModel::IsShown(const PropertyRow* row) const {
  for (const PropertyRow* r = row; r && r != &root_; r = r->parent) {
    if (r->hidden || r->shownRow_ < 0) return false;
  }
  return row != nullptr;
}

QModelIndex PropertyGridModel::IndexOf(const PropertyRow* row, int column) const {
  if (!row || row == &root_ || !IsShown(row)) return {};
  return createIndex(row->shownRow_, column, const_cast<PropertyRow*>(row));
}

QModelIndex PropertyGridModel::index(int row, int column, const QModelIndex& parent) const {
  const PropertyRow* p = parent.isValid() ? RowAt(parent) : &root_;
  if (!p || row < 0 || column < 0 || column > 1 || row >= static_cast<int>(p->shown_.size())) {
    return {};
  }
  return createIndex(row, column, p->shown_[static_cast<std::size_t>(row)]);
}

QModelIndex PropertyGridModel::parent(const QModelIndex& child) const {
  const PropertyRow* row = RowAt(child);
  if (!row || !row->parent || row->parent == &root_) return {};
  return createIndex(row->parent->shownRow_, 0, row->parent);
}

int PropertyGridModel::rowCount(const QModelIndex& parent) const {
  if (parent.isValid() && parent.column() != 0) return 0;
  const PropertyRow* p = parent.isValid() ? RowAt(parent) : &root_;
  return p ? static_cast<int>(p->shown_.size()) : 0;
}

int PropertyGridModel::columnCount(const QModelIndex&) const { return 2; }

bool PropertyGridModel::hasChildren(const QModelIndex& parent) const {
  return rowCount(parent) > 0;
}

QVariant PropertyGridModel::data(const QModelIndex& index, int role) const {
  const PropertyRow* row = RowAt(index);
  if (!row) return {};
  const bool valueColumn = index.column() == 1;
  switch (role) {
    case Qt::DisplayRole:
      return valueColumn ? PropertyValueText(*row) : row->name;
    case Qt::EditRole:
      return valueColumn ? row->value : QVariant(row->name);
    case Qt::ToolTipRole:
      if (valueColumn) return PropertyValueText(*row);
      return row->description.isEmpty() ? row->name : row->description;
    case Qt::DecorationRole:
      if (valueColumn && row->kind == PropertyKind::Colour) return Swatch(row->value.toLongLong());
      return {};
    case Qt::FontRole:
      if (row->IsGroup() || (valueColumn && markModified_ && row->Modified())) {
        QFont f;
        f.setBold(true);
        return f;
      }
      return {};
    case Qt::BackgroundRole:
      if (row->IsGroup()) return QGuiApplication::palette().color(QPalette::AlternateBase);
      return {};
    default:
      return {};
  }
}

QVariant PropertyGridModel::Propose(const PropertyRow& row, const QVariant& input) const {
  switch (row.kind) {
    case PropertyKind::Integer: {
      if (input.typeId() == QMetaType::QString) {
        bool ok = false;
        const qint64 v = input.toString().trimmed().toLongLong(&ok);
        return ok ? QVariant(v) : QVariant();
      }
      bool ok = false;
      const qint64 v = input.toLongLong(&ok);
      return ok ? QVariant(v) : QVariant();
    }
    case PropertyKind::Colour:
      if (input.typeId() == QMetaType::QColor) return ToBgr(input.value<QColor>());
      if (input.typeId() == QMetaType::QString) return ParseColourText(input.toString());
      return input.canConvert<qint64>() ? QVariant(input.toLongLong()) : QVariant();
    case PropertyKind::Group:
      return {};
    default:
      return input.toString();
  }
}

bool PropertyGridModel::setData(const QModelIndex& index, const QVariant& value, int role) {
  PropertyRow* row = RowAt(index);
  if (!row || role != Qt::EditRole || index.column() != 1 || row->IsGroup() || !row->editable) {
    return false;
  }
  const QVariant proposed = Propose(*row, value);
  bool accepted = proposed.isValid();
  if (row->kind == PropertyKind::Choice && accepted && !row->options.contains(proposed.toString())) {
    accepted = false;
  }
  if (accepted && validator_) accepted = validator_(*row, proposed);
  if (!accepted) {
    emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(1));
    emit ValueRejected(row, proposed);
    return false;
  }
  if (proposed == row->value) return true;
  const QVariant previous = row->value;
  row->value = proposed;
  emit dataChanged(index.siblingAtColumn(0), index.siblingAtColumn(1));
  emit ValueEdited(row, previous);
  return true;
}

Qt::ItemFlags PropertyGridModel::flags(const QModelIndex& index) const {
  const PropertyRow* row = RowAt(index);
  if (!row) return Qt::NoItemFlags;
  Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable;
  if (!row->IsGroup()) f |= Qt::ItemNeverHasChildren;
  if (index.column() == 1 && !row->IsGroup() && row->editable) f |= Qt::ItemIsEditable;
  return f;
}

QVariant PropertyGridModel::headerData(int section, Qt::Orientation orientation, int role) const {
  if (orientation != Qt::Horizontal || role != Qt::DisplayRole) return {};
  return section == 0 ? QStringLiteral("Property") : QStringLiteral("Value");
}

}  // namespace radove
