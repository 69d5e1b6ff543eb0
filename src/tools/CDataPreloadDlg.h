#pragma once
// "数据预置": the preset data editor. Shows a copy of a preset list as a six-column
// grid, inserts single rows, generated sequences and imported CSV files, moves and
// deletes rows and validates every edited cell. The caller's list is never touched:
// after OK, Result() holds the edited list; after Cancel it is empty and unused.

#include <QAbstractTableModel>
#include <QDialog>

#include "tools/BulkGenerator.h"
#include "tools/PresetTable.h"

class QMenu;
class QProgressBar;
class QTableView;

namespace radove {

class PaneStatus;

// The grid's model: a PresetTable shown as six columns. One model row per item and
// no widget per cell, so lists of a hundred thousand rows open and scroll at once.
class PresetGridModel : public QAbstractTableModel {
  Q_OBJECT
 public:
  explicit PresetGridModel(QObject* parent = nullptr);

  void Load(const PresetList& items, const PresetTable::Progress& progress = {});
  PresetList Save(const PresetTable::Progress& progress = {}) const { return table_.Save(progress); }
  const PresetTable& Table() const { return table_; }

  // Rows are 0-based here. Each returns what PresetTable returns.
  int InsertRows(int position, std::vector<PresetRow> rows);
  bool MoveToTop(int row);
  bool MoveUp(int row);
  bool MoveDown(int row);
  bool MoveToBottom(int row);
  bool Remove(int row);
  void Clear();

  int rowCount(const QModelIndex& parent = {}) const override;
  int columnCount(const QModelIndex& parent = {}) const override;
  QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
  QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;
  Qt::ItemFlags flags(const QModelIndex& index) const override;
  // Validates the edit; a refused text leaves the cell as it was and, when there is
  // something to say, emits EditRefused.
  bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;

 signals:
  void EditRefused(const QString& message);

 private:
  // Column 0 shows positions: rows from `row` on are renumbered.
  void PositionsChangedFrom(int row);
  void RowsChanged(int first, int last);

  PresetTable table_;
};

enum class PresetMove { kTop, kUp, kDown, kBottom };

class CDataPreloadDlg : public QDialog {
  Q_OBJECT
 public:
  // items: the current device's preset list (copied). generator: the bulk generator's
  // settings, kept by the caller between openings. status: the frame's status bar,
  // which shows the loading progress of long lists; may be null.
  CDataPreloadDlg(const PresetList& items, GeneratorParameters& generator, QWidget* parent = nullptr,
                  PaneStatus* status = nullptr);

  // The edited list, valid after the dialog ended with OK.
  const PresetList& Result() const { return result_; }

  // The editor's commands. gridRow counts as the grid does: 1..N the rows, 0 the
  // header, -1 no row (the buttons use -1).
  void InsertRow(bool isData, int gridRow);
  // Opens the generator; on OK inserts its values.
  void BulkInsert(int gridRow);
  // Inserts the generator's last result as rows, by its insert type.
  void InsertGenerated(int gridRow);
  // Inserts a preset CSV file; on any error says why, line and all, and changes nothing.
  bool ImportCsv(const QString& path, int gridRow);
  bool ExportCsv(const QString& path);
  bool MoveRow(PresetMove move, int gridRow);
  bool DeleteRow(int gridRow);
  void DeleteAll();

  void accept() override;

  PresetGridModel* Model() const { return model_; }
  QTableView* Grid() const { return grid_; }
  QMenu* ContextMenu() const { return menu_; }
  QProgressBar* Progress() const { return progress_; }

 private:
  void BuildMenu();
  void ShowContextMenu(int gridRow, const QPoint& globalPos);
  void ChooseImportFile(int gridRow);
  void ChooseExportFile();
  void ScrollTo(int row);
  void ShowMessage(const QString& text);

  GeneratorParameters& generator_;
  PresetGridModel* model_;
  QTableView* grid_;
  QProgressBar* progress_;
  QMenu* menu_ = nullptr;
  // The grid row of the last right click: the insertion point and the row the move
  // and delete commands act on.
  int clickedRow_ = -1;
  PresetList result_;
};

}  // namespace radove
