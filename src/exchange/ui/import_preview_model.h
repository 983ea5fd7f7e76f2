// The table of the import dialog: every line of the statement with its
// tick, number, state and reason, then the record's columns as they will be
// stored (defaults, automatic values and formulas applied). Rows are made
// when the view asks for them, so a bill of 20,000 lines opens at once.
// Values set by rules and values the user changed each have their colour;
// record cells are edited as typed cells are, refusals shown through the
// prompt.
#pragma once

#include "exchange/import_preview.h"

#include <QAbstractTableModel>
#include <QDateTime>

class ColumnList;
class StatementImport;

class ImportPreviewModel : public QAbstractTableModel {
  Q_OBJECT

public:
  enum Column { Tick, LineNumber, State, Reason, FirstRecordColumn };

  ImportPreviewModel(StatementImport &import, const ColumnList &columns,
                     QObject *parent = nullptr);

  // Shows a new check, keeping the user's ticks and edits.
  void SetCheck(ImportCheck check);
  const ImportPreview &Preview() const { return preview_; }

  // The column of the file shown at column of the table; -1 for the
  // line's own columns.
  int PositionAt(int column) const;
  // Ticks or unticks the line at row; false for a bad line.
  bool SetTicked(int row, bool ticked);

  int rowCount(const QModelIndex &parent = {}) const override;
  int columnCount(const QModelIndex &parent = {}) const override;
  QVariant data(const QModelIndex &index, int role) const override;
  QVariant headerData(int section, Qt::Orientation orientation,
                      int role) const override;
  Qt::ItemFlags flags(const QModelIndex &index) const override;
  bool setData(const QModelIndex &index, const QVariant &value,
               int role) override;

private:
  // The texts of the record row makes, as stored.
  const QStringList &RecordTexts(int row) const;
  QVariant CellColour(int row, int position) const;

  StatementImport &import_;
  const ColumnList &columns_;
  ImportPreview preview_;
  QList<int> positions_; // the file's columns shown, in order
  QDateTime now_;
  mutable int cachedRow_ = -1;
  mutable QStringList cachedTexts_;
};

// "新", "重复", "跳过", "错误".
QString LineStateName(LineState state);
