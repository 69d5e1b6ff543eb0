#pragma once
// "元器件库": the library browser. Three linked lists narrow the device library
// down by library, category and name; the preview shows the chosen device's
// picture and description; OK (or a double click on a device) hands the chosen
// device back.
//
// The dialog knows nothing of the document: the caller passes the library
// selection it keeps (three list positions) and, when the dialog ends with OK,
// reads back SelectedDeviceId() and Positions(). A chosen id of -1 means no device
// was chosen and the caller changes nothing.

#include <QDialog>

#include "library/LibraryBrowser.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace radove {

class CDeviceLibDlg : public QDialog {
  Q_OBJECT
 public:
  // The lists are filled here; when the database cannot be read, the user is told
  // so as soon as the dialog shows.
  CDeviceLibDlg(const LibraryDb& db, const BrowserPositions& positions, QWidget* parent = nullptr);

  // The result, valid after OK: the chosen device (-1 none) and the three positions.
  int SelectedDeviceId() const { return browser_.SelectedDeviceId(); }
  const BrowserPositions& Positions() const { return browser_.Positions(); }

  // What the first fill found; kUnreadable when the database could not be read.
  BrowserStatus OpenStatus() const { return openStatus_; }
  const LibraryBrowser& Browser() const { return browser_; }

  QListWidget* LibraryList() const { return libraries_; }
  QListWidget* CategoryList() const { return categories_; }
  QListWidget* DeviceList() const { return devices_; }
  QLineEdit* SearchEdit() const { return search_; }
  QLabel* PreviewPicture() const { return picture_; }
  QLabel* DescriptionText() const { return description_; }
  QPushButton* HelpButton() const { return help_; }

  // The preview area's size: the pictures are made for it.
  static constexpr int kPreviewWidth = 250;
  static constexpr int kPreviewHeight = 135;
  // The library reference manual, relative to the data directory.
  static constexpr const char* kReferenceManual = "docs/reference_manual.pdf";

 protected:
  void showEvent(QShowEvent* event) override;

 private:
  void OnLibraryChanged(int row);
  void OnCategoryChanged(int row);
  void OnDeviceChanged(int row);
  void OnDeviceDoubleClicked(int row);
  void OnSearchChanged(const QString& text);
  void OpenReferenceManual();

  // Mirror the browser's state into the widgets without echoing their signals.
  void ShowLibraries();
  void ShowCategories();
  void ShowDevices();
  void ShowPreview();
  void ShowAll();
  // Tells the user once per action that the library could not be read.
  void Report(BrowserStatus status);

  LibraryBrowser browser_;
  BrowserStatus openStatus_ = BrowserStatus::kOk;
  bool openReported_ = false;
  int previewedId_ = -1;  // the device the preview shows

  QListWidget* libraries_;
  QListWidget* categories_;
  QListWidget* devices_;
  QLineEdit* search_;
  QLabel* picture_;
  QLabel* description_;
  QPushButton* help_;
};

}  // namespace radove
