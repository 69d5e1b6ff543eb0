#include "library/CDeviceLibDlg.h"

#include <QDesktopServices>
#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPixmap>
#include <QPushButton>
#include <QSignalBlocker>
#include <QTimer>
#include <QUrl>
#include <QVBoxLayout>

#include "core/DataPaths.h"

namespace radove {
namespace {

const QString kCaption = QStringLiteral("Radove");

QString Q(const std::string& s) { return QString::fromStdString(s); }

template <typename Entry>
void FillList(QListWidget* list, const std::vector<Entry>& entries, int currentRow,
              int Entry::*data) {
  const QSignalBlocker block(list);
  list->clear();
  for (const Entry& e : entries) {
    auto* item = new QListWidgetItem(Q(e.name), list);
    item->setData(Qt::UserRole, e.*data);
  }
  list->setCurrentRow(currentRow);
  if (currentRow < 0) list->clearSelection();
}

}  // namespace

CDeviceLibDlg::CDeviceLibDlg(const LibraryDb& db, const BrowserPositions& positions,
                             QWidget* parent)
    : QDialog(parent), browser_(db, positions) {
  setWindowTitle(QStringLiteral("元器件库"));

  libraries_ = new QListWidget(this);
  categories_ = new QListWidget(this);
  devices_ = new QListWidget(this);
  search_ = new QLineEdit(this);
  search_->setPlaceholderText(QStringLiteral("按名称查找"));
  search_->setClearButtonEnabled(true);
  for (QListWidget* list : {libraries_, categories_, devices_}) {
    list->setSelectionMode(QAbstractItemView::SingleSelection);
  }
  libraries_->setMinimumWidth(150);
  categories_->setMinimumWidth(170);
  devices_->setMinimumWidth(280);

  auto* lists = new QGridLayout;
  auto* libraryLabel = new QLabel(QStringLiteral("库："), this);
  auto* categoryLabel = new QLabel(QStringLiteral("类别："), this);
  auto* deviceLabel = new QLabel(QStringLiteral("元器件："), this);
  libraryLabel->setBuddy(libraries_);
  categoryLabel->setBuddy(categories_);
  deviceLabel->setBuddy(devices_);
  lists->addWidget(libraryLabel, 0, 0);
  lists->addWidget(categoryLabel, 0, 1);
  lists->addWidget(deviceLabel, 0, 2);
  lists->addWidget(libraries_, 1, 0, 2, 1);
  lists->addWidget(categories_, 1, 1, 2, 1);
  lists->addWidget(search_, 1, 2);
  lists->addWidget(devices_, 2, 2);

  auto* previewBox = new QGroupBox(QStringLiteral("预览："), this);
  picture_ = new QLabel(previewBox);
  picture_->setFixedSize(kPreviewWidth, kPreviewHeight);
  picture_->setAlignment(Qt::AlignCenter);
  auto* previewLayout = new QVBoxLayout(previewBox);
  previewLayout->addWidget(picture_, 0, Qt::AlignCenter);

  auto* descriptionLabel = new QLabel(QStringLiteral("描述："), this);
  description_ = new QLabel(this);
  description_->setFrameStyle(QFrame::Panel | QFrame::Sunken);
  description_->setTextFormat(Qt::PlainText);
  description_->setWordWrap(true);
  description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  description_->setMargin(4);
  description_->setMinimumHeight(140);
  description_->setFixedWidth(kPreviewWidth + 22);

  auto* right = new QVBoxLayout;
  right->addWidget(previewBox);
  right->addWidget(descriptionLabel);
  right->addWidget(description_, 1);

  help_ = new QPushButton(QStringLiteral("帮助"), this);
  help_->setAutoDefault(false);
  auto* buttons = new QDialogButtonBox(this);
  buttons->addButton(QStringLiteral("确定"), QDialogButtonBox::AcceptRole)->setDefault(true);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  auto* bottom = new QHBoxLayout;
  bottom->addWidget(help_);
  bottom->addStretch(1);
  bottom->addWidget(buttons);

  auto* body = new QHBoxLayout;
  body->addLayout(lists, 1);
  body->addLayout(right);
  auto* layout = new QVBoxLayout(this);
  layout->addLayout(body, 1);
  layout->addLayout(bottom);
  resize(980, 500);

  connect(libraries_, &QListWidget::currentRowChanged, this, &CDeviceLibDlg::OnLibraryChanged);
  connect(categories_, &QListWidget::currentRowChanged, this, &CDeviceLibDlg::OnCategoryChanged);
  connect(devices_, &QListWidget::currentRowChanged, this, &CDeviceLibDlg::OnDeviceChanged);
  // A click on the entry a search highlighted shows its preview too.
  connect(devices_, &QListWidget::itemClicked, this, [this](QListWidgetItem* item) {
    if (browser_.SelectedDeviceId() != previewedId_) OnDeviceChanged(devices_->row(item));
  });
  connect(devices_, &QListWidget::itemDoubleClicked, this,
          [this](QListWidgetItem* item) { OnDeviceDoubleClicked(devices_->row(item)); });
  connect(search_, &QLineEdit::textChanged, this, &CDeviceLibDlg::OnSearchChanged);
  connect(help_, &QPushButton::clicked, this, &CDeviceLibDlg::OpenReferenceManual);
  connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
  connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);

  openStatus_ = browser_.Open();
  ShowAll();
  devices_->setFocus();
}

void CDeviceLibDlg::showEvent(QShowEvent* event) {
  QDialog::showEvent(event);
  // The message comes over the dialog, once it is on the screen.
  if (openStatus_ != BrowserStatus::kOk && !openReported_) {
    openReported_ = true;
    QTimer::singleShot(0, this, [this] { Report(openStatus_); });
  }
}

void CDeviceLibDlg::OnLibraryChanged(int row) {
  if (row < 0) return;
  const BrowserStatus status = browser_.SelectLibrary(row);
  ShowCategories();
  ShowDevices();
  ShowPreview();
  Report(status);
}

void CDeviceLibDlg::OnCategoryChanged(int row) {
  if (row < 0) return;
  const BrowserStatus status = browser_.SelectCategory(row);
  ShowDevices();
  ShowPreview();
  Report(status);
}

void CDeviceLibDlg::OnDeviceChanged(int row) {
  if (row < 0) return;
  const BrowserStatus status = browser_.SelectDevice(row);
  ShowPreview();
  Report(status);
}

void CDeviceLibDlg::OnDeviceDoubleClicked(int row) {
  if (row < 0) return;
  if (row != browser_.DeviceRow()) OnDeviceChanged(row);
  accept();
}

void CDeviceLibDlg::OnSearchChanged(const QString& text) {
  const BrowserStatus status = browser_.Search(text.toStdString());
  ShowDevices();
  Report(status);
}

void CDeviceLibDlg::OpenReferenceManual() {
  const QString path = QString::fromStdString(ResolveDataFile(kReferenceManual).string());
  if (!QFileInfo::exists(path)) {
    QMessageBox::warning(
        this, kCaption,
        QStringLiteral("找不到器件库参考手册:\n%1").arg(QDir::toNativeSeparators(path)));
    return;
  }
  if (!QDesktopServices::openUrl(QUrl::fromLocalFile(path))) {
    QMessageBox::warning(
        this, kCaption,
        QStringLiteral("无法打开器件库参考手册:\n%1\n请确认系统中安装了 PDF 阅读程序。")
            .arg(QDir::toNativeSeparators(path)));
  }
}

void CDeviceLibDlg::ShowLibraries() {
  FillList(libraries_, browser_.Libraries(), browser_.LibraryRow(), &LibraryGroup::number);
}

void CDeviceLibDlg::ShowCategories() {
  FillList(categories_, browser_.Categories(), browser_.CategoryRow(), &LibraryGroup::number);
}

void CDeviceLibDlg::ShowDevices() {
  FillList(devices_, browser_.Devices(), browser_.DeviceRow(), &DeviceListEntry::id);
}

void CDeviceLibDlg::ShowPreview() {
  QPixmap pixmap;
  if (!browser_.Picture().empty()) pixmap.load(QString::fromStdString(browser_.Picture().string()));
  if (!pixmap.isNull() && (pixmap.width() > kPreviewWidth || pixmap.height() > kPreviewHeight)) {
    pixmap =
        pixmap.scaled(kPreviewWidth, kPreviewHeight, Qt::KeepAspectRatio, Qt::SmoothTransformation);
  }
  if (pixmap.isNull()) {
    picture_->clear();
  } else {
    picture_->setPixmap(pixmap);
  }
  description_->setText(Q(browser_.Description()));
  previewedId_ = browser_.SelectedDeviceId();
}

void CDeviceLibDlg::ShowAll() {
  ShowLibraries();
  ShowCategories();
  ShowDevices();
  ShowPreview();
}

void CDeviceLibDlg::Report(BrowserStatus status) {
  if (status == BrowserStatus::kOk) return;
  QMessageBox::critical(this, kCaption, QString::fromUtf8(kLibraryOpenFailedMessage));
}

}  // namespace radove
