// What the user makes of a checked statement before it is stored: which
// lines are ticked and which record texts were changed by hand. The changes
// are kept by line number and column, so that they survive a new check of
// the statement (after the mapping or the rules changed). A bad line has no
// record: it is never ticked and its cells are not edited.
#pragma once

#include "exchange/statement_import.h"

#include <QHash>
#include <QPair>
#include <QSet>
#include <QString>

class ColumnList;

class ImportPreview {
public:
  // Takes a new check and applies the user's ticks and edits to it.
  void SetCheck(ImportCheck check);
  const ImportCheck &Check() const { return check_; }

  int RowCount() const { return int(check_.lines.size()); }
  const CheckedLine &Line(int row) const { return check_.lines[size_t(row)]; }

  // False for a bad line, which cannot be ticked.
  bool SetTicked(int row, bool ticked);
  // The numbers of the lines ticked now.
  QSet<int> TickedLines() const;

  // Sets the text of the column at position of the line at row as if typed
  // into a record's cell; false with the refusal the records grid gives
  // ("单价：abc 不是数字", "日期格式不正确") when it cannot be stored, the
  // text kept as it was. The same text again is no change.
  bool Edit(const ColumnList &columns, int row, int position,
            const QString &text, QString *refusal);
  bool Edited(int row, int position) const;
  bool SetByRule(int row, int position) const;

  // "新 120，重复 3，跳过 5，错误 1，将导入 118".
  QString CountsText() const;

private:
  using Cell = QPair<int, int>; // line number, position

  ImportCheck check_;
  QHash<int, bool> ticks_; // line number -> ticked, as the user set it
  QHash<Cell, QString> edits_;
};
