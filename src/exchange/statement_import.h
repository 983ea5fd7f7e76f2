// Importing a bank statement or a payment service's bill into a group of an
// account file, in three steps behind one object that the import dialog,
// the CLI and the tests use:
//
// - Open (import_opening.h) reads the start of the file once: it
//   recognises a known bill by its head (bill_recognition.h) or detects how
//   the statement reads, takes its header and sample lines, and proposes a
//   mapping (the one saved for this statement layout, else the bill's,
//   else a guess).
// - Check (import_checking.h) reads every line as it would be stored
//   (line_conversion.h) and gives each its state: new, duplicate of a
//   payment already stored (duplicate_lines.h), skipped (a bill's closed
//   payments and the refunds that cancel them, bill_outcomes.h) or bad
//   (with the reason), and whether it is ticked. No value is invented: a
//   line is stored only with the date and the amount the statement gives,
//   and a mapping without a date or an amount column checks nothing. The
//   lines of the footer under the rows are neither.
// - Store (import_storing.h) inserts the ticked lines through the record
//   store as one command group, inside one unit of work, so one undo takes
//   the whole import back. Each record gets its key, defaults and formulas
//   as a typed record does (import_records.h). What each bill line became
//   is kept in the file (bill_seen.h), so a later bill knows its payments.
//
// The statement is read line by line, never held whole; a check keeps the
// texts of its lines.
#pragma once

#include "exchange/bill_lines.h"
#include "exchange/bill_recognition.h"
#include "exchange/bill_seen.h"
#include "exchange/import_check.h"
#include "exchange/import_mapping.h"
#include "exchange/import_rules.h"
#include "exchange/opened_statement.h"
#include "exchange/statement_source.h"
#include "exchange/work_progress.h"
#include "records/row_item.h"

#include <QDateTime>
#include <QList>
#include <QSet>
#include <QString>
#include <QStringList>

#include <vector>

class AccountFile;

class StatementImport {
public:
  explicit StatementImport(AccountFile &file);

  // Reads format, columns and first lines of the statement at path and sets
  // the mapping. False, with a message for the user, for a file that cannot
  // be read or is no statement.
  bool Open(const QString &path, QString *error);
  // Reads columns and first lines again after the format changed.
  bool Reload(QString *error);

  const QString &Path() const { return statement_.path; }
  const QStringList &Headers() const { return statement_.headers; }
  // Up to 20 first data lines.
  const std::vector<SourceLine> &Sample() const { return statement_.sample; }
  // What identifies the statement's layout as it was opened; the mapping is
  // saved under it.
  QString Signature() const { return statement_.signature; }
  ImportMapping &Mapping() { return mapping_; }
  const ImportMapping &Mapping() const { return mapping_; }
  // Whether the mapping came from a saved one.
  bool MappingWasSaved() const { return mappingSaved_; }
  // The date forms the sample's dates allow (more than one: ambiguous).
  QStringList DateFormChoices() const;
  // Replaces the mapping (keeping the format) by a guess from the columns
  // and the sample.
  void GuessMapping();
  // Sets the mapping's date form and decimal separator from the sample
  // lines of its mapped columns (after the mapping was changed by hand).
  void DetectValueForms();

  // The known bill the statement is (bill_layouts.h), or null, and what its
  // head says.
  const BillLayout *Layout() const {
    return statement_.layout ? &*statement_.layout : nullptr;
  }
  const BillHead &Head() const { return statement_.head; }
  // Whether a refund cancels (all or part of) its payment in the same bill
  // rather than being income; off by default.
  bool RefundsCancelPayments() const { return refundsCancelPayments_; }
  void SetRefundsCancelPayments(bool on) { refundsCancelPayments_ = on; }

  // The group the records go to; by default the selected group, else the
  // first group of the tree.
  int GroupId() const { return groupId_; }
  void SetGroupId(int id) { groupId_ = id; }

  // The rules that set values of each line (import_rules.h): those of the
  // account file, unless replaced; an empty set turns them off.
  const ImportRules &Rules() const { return rules_; }
  void SetRules(ImportRules rules) { rules_ = std::move(rules); }

  // Why the mapping cannot import anything: "对账单中找不到日期列" when the
  // file has a date column and no column of the statement goes to one,
  // "对账单中找不到金额列" likewise for the amount; empty when it can.
  QString MappingProblem() const;
  // The line of the statement numbered lineNumber as read (its fields by
  // the header); false with a message when there is none or the statement
  // no longer reads.
  bool ReadLine(int lineNumber, SourceLine *line, QString *error) const;
  // The record made of texts for the target group with key, as a typed
  // record: defaults and formulas, the date and time the texts give.
  CRowItem MakeRecord(const QStringList &texts, int key,
                      const QDateTime &now) const;

  // Reads every line and gives it its state. Lines of a bill are decided
  // over the whole bill (bill_lines.h); income of a bill goes unticked
  // ("账簿没有收支列") into a file without a direction column, and neutral
  // lines ("不计收支") unticked. A bill's number finds duplicates among the
  // records of every group and the lines above; a line without one is
  // compared by its values with the records of the target group.
  bool Check(ImportCheck *check, const ExchangeProgress &progress,
             QString *error);
  // Stores the lines of check whose numbers are in ticked (bad ones never)
  // with their texts. The number of records stored; 0 with *cancelled set
  // when progress cancelled (nothing is stored then), -1 with error when
  // the import could not run or a line's formulas gave no finite number
  // (nothing is stored then either). What the parts of the store would
  // say on their way is held back: a failure is told once, with its cause
  // ("磁盘已满，导入未进行，账簿没有改动").
  int Store(const ImportCheck &check, const QSet<int> &ticked,
            const ExchangeProgress &progress, bool *cancelled,
            QString *error);
  // Checks the statement and stores the lines ticked by default and the
  // duplicates whose line numbers are in includeDuplicates.
  int Store(const QSet<int> &includeDuplicates,
            const ExchangeProgress &progress, bool *cancelled,
            QString *error);

  // Saves the mapping for the statement's layout in the account file.
  bool SaveMapping();
  // Keeps the layout of this statement as the mapping reads it
  // (mapping_layout.h) as one of the user's own ("保存为账单格式…"), so that
  // the statements of this layout are recognised from now on; false with
  // a message for the user when it cannot be.
  bool SaveAsLayout(const QString &name, QString *error);

private:
  // Check, telling a cancel apart.
  bool CheckLines(ImportCheck *check, const ExchangeProgress &progress,
                  bool *cancelled, QString *error);

  AccountFile &file_;
  OpenedStatement statement_;
  ImportMapping mapping_;
  bool mappingSaved_ = false;
  bool refundsCancelPayments_ = false;
  int groupId_ = 0;
  ImportRules rules_;
};
