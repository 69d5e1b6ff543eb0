#pragma once
// The two about boxes of the help menu: "关于 Radove" (the program and its version)
// and "关于创作团队" (who makes it).

#include <QDialog>

namespace radove {

class CAboutDlg : public QDialog {
  Q_OBJECT
 public:
  static constexpr const char* kVersionText = "Radove，1.1 版";
  explicit CAboutDlg(QWidget* parent = nullptr);
};

class CTeamDlg : public QDialog {
  Q_OBJECT
 public:
  explicit CTeamDlg(QWidget* parent = nullptr);
};

}  // namespace radove
