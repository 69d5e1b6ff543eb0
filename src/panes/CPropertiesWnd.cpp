#include "panes/CPropertiesWnd.h"

#include <QMessageBox>
#include <QStringList>
#include <QVBoxLayout>
#include <limits>
#include <set>

#include "core/TextParse.h"
#include "panes/CPropertyGrid.h"

namespace radove {
namespace {

QString Q(const std::string& s) { return QString::fromStdString(s); }

std::string Entry(const PropertySet& set, std::uint32_t key) {
  const auto it = set.find(key);
  return it == set.end() ? std::string() : it->second;
}

}  // namespace

QString QtFileFilter(const std::string& pairs) {
  const QStringList parts = Q(pairs).split(QLatin1Char('|'));
  QStringList filters;
  for (int i = 0; i + 1 < parts.size(); i += 2) {
    const QString description = parts[i].trimmed();
    QString patterns = parts[i + 1].trimmed();
    if (description.isEmpty() && patterns.isEmpty()) continue;
    patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
    filters << QStringLiteral("%1 (%2)").arg(description, patterns);
  }
  if (filters.isEmpty()) filters << QStringLiteral("所有文件 (*)");
  return filters.join(QStringLiteral(";;"));
}

CPropertiesWnd::CPropertiesWnd(QWidget* parent) : QWidget(parent) {
  grid_ = new CPropertyGrid(QStringLiteral("属性窗口"), this);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->addWidget(grid_);
  connect(grid_->Model(), &PropertyGridModel::ValueEdited, this,
          [this](PropertyRow* row, const QVariant&) { OnEdited(row); });
  // A device's integer properties are 32-bit; what does not fit is refused here.
  grid_->Model()->SetValidator([](const PropertyRow& row, const QVariant& proposed) {
    if (row.kind != PropertyKind::Integer) return true;
    const qint64 v = proposed.toLongLong();
    return v >= std::numeric_limits<int>::min() && v <= std::numeric_limits<int>::max();
  });
  connect(grid_->Model(), &PropertyGridModel::ValueRejected, this, [this] {
    // Shown after the editor has closed, not from inside its commit.
    QMetaObject::invokeMethod(
        this,
        [this] {
          QMessageBox::warning(this, QStringLiteral("Radove"),
                               QStringLiteral("您输入的数据超出了范围"));
        },
        Qt::QueuedConnection);
  });
}

void CPropertiesWnd::RebuildProperties(bool empty, const PropertyBasics* texts,
                                       const PropertySet* set) {
  PropertyGridModel* model = grid_->Model();
  model->RemoveAll();
  if (empty) return;
  model->BeginBatch();
  if (texts) {
    PropertyRow* basic = model->AddGroup(nullptr, QStringLiteral("基本"));
    const std::pair<const char*, const std::string*> rows[] = {
        {"名称", &texts->typeEn}, {"库", &texts->categoryCn}, {"类别", &texts->subCategoryCn}};
    for (const auto& [name, value] : rows) {
      PropertyRow* row = model->AddProperty(basic, PropertyKind::Text, QString::fromUtf8(name),
                                            Q(*value), {}, 0);
      // Library texts: the device takes no edits of them and they are not saved.
      row->editable = false;
    }
  }
  if (set) {
    PropertyRow* advanced = model->AddGroup(nullptr, QStringLiteral("高级"));
    std::set<std::uint32_t> ids;
    for (const auto& [key, text] : *set) ids.insert(property::IdOf(key));
    for (std::uint32_t id : ids) {
      const std::string type = Entry(*set, id + property::kType);
      const QString name = Q(Entry(*set, id + property::kName));
      const QString description = Q(Entry(*set, id + property::kDescription));
      const std::string value = Entry(*set, id + property::kValue);
      PropertyRow* row = nullptr;
      if (type == "0") {
        row = model->AddProperty(advanced, PropertyKind::Integer, name,
                                 static_cast<qint64>(ParseDecimal32(value).value_or(0)),
                                 description, id);
      } else if (type == "2") {
        row = model->AddProperty(advanced, PropertyKind::File, name, Q(value), description, id);
        row->filter = QtFileFilter(Entry(*set, id + property::kFilter));
      } else if (type == "3") {
        QStringList options;
        for (auto it = set->lower_bound(id + property::kOptions);
             it != set->end() && property::IdOf(it->first) == id; ++it) {
          options << Q(it->second);
        }
        row = model->AddProperty(advanced, PropertyKind::Choice, name, Q(value), description, id);
        row->options = options;
      }
      // Other types are not shown.
    }
  }
  model->EndBatch();
}

void CPropertiesWnd::OnEdited(PropertyRow* row) {
  const auto tag = static_cast<std::uint32_t>(row->tag);
  if (row->kind == PropertyKind::Integer) {
    const qint64 v = row->value.toLongLong();
    if (v < std::numeric_limits<int>::min() || v > std::numeric_limits<int>::max()) return;
    emit IntPropertyChanged(tag, static_cast<int>(v));
  } else {
    emit StringPropertyChanged(tag, row->value.toString());
  }
}

}  // namespace radove
