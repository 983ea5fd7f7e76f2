// Importing a bank statement or a payment service's bill into a group of an
// account file.
//
// Open recognises a known bill by its head (bill_recognition.h) and
// proposes a mapping (the one saved for this statement layout, else the
// bill's, else a guess); Check reads every line as it would be stored and
// gives each its state: new, duplicate (of a payment already stored: by the
// bill's number with the same moment, amount and counterpart in any group,
// else by its values in the group, each record matching one line at most),
// skipped (a bill's closed payments and the refunds that cancel them) or
// bad (with the reason), and whether it is ticked. No value is invented: a
// line is stored only with the date and the amount the statement gives, and
// a mapping without a date or an amount column checks nothing. The lines of
// the footer under the rows are neither. What each bill line became is kept
// in the file (bill_seen.h), so a later bill knows its payments. Store then inserts the ticked lines through the record store as
// one command group, inside one unit of work, so one undo takes the whole
// import back. Each record gets its key, defaults and formulas as a typed
// record does; a mapped value wins over a default and over the automatic
// date or time. The statement is read line by line, never held whole; a
// check keeps the texts of its lines.
#pragma once

#include "exchange/bill_lines.h"
#include "exchange/bill_recognition.h"
#include "exchange/bill_seen.h"
#include "exchange/import_mapping.h"
#include "exchange/import_rules.h"
#include "records/packed_texts.h"
#include "records/row_item.h"

#include <QDateTime>
#include <QHash>
#include <QList>
#include <QSet>
#include <QString>

#include <functional>
#include <memory>
#include <optional>
#include <vector>

class AccountFile;

struct BadLine {
  int lineNumber = 0;
  QString reason;
};

// What a line of the statement is to the import.
enum class LineState {
  New,       // to be stored (ticked unless reason says why not)
  Duplicate, // the same payment (by its number, else by its values) is stored
  Skipped,   // a closed payment or a refund that cancels one: not stored
  Bad,       // does not read: reason says why
};

struct CheckedLine {
  int lineNumber = 0;
  LineState state = LineState::New;
  // Whether the line is stored unless the user says otherwise.
  bool ticked = false;
  QString reason;
  // The record's texts, one per column as ConvertLine gives them (empty for
  // a bad line), and the bill's number of the payment. Packed: a check
  // keeps every line of a statement.
  PackedTexts texts;
  QString number;
  // The positions of texts that rules set, in column order.
  QList<int> ruleSet;
  // What the line says of itself, kept in the file when it is stored or
  // left out for good; only for lines with a number or a payment made
  // through a payment service.
  std::shared_ptr<SeenLine> seen;
};

struct ImportCheck {
  int good = 0; // lines that read and are not skipped, duplicates included
  QList<BadLine> bad;
  QList<int> duplicateLines;
  // The lines of the footer under the rows ("表尾").
  QList<int> footerLines;
  // Every line, in order, with its state.
  std::vector<CheckedLine> lines;

  int Count(LineState state) const;
  // The numbers of the lines ticked.
  QSet<int> TickedLines() const;
};

// Told the number of lines done so far; false cancels.
using ExchangeProgress = std::function<bool(int done)>;

class StatementImport {
public:
  explicit StatementImport(AccountFile &file);

  // Reads format, columns and first lines of the statement at path and sets
  // the mapping. False, with a message for the user, for a file that cannot
  // be read or is no statement.
  bool Open(const QString &path, QString *error);
  // Reads columns and first lines again after the format changed.
  bool Reload(QString *error);

  const QString &Path() const { return path_; }
  const QStringList &Headers() const { return headers_; }
  // Up to 20 first data lines.
  const std::vector<SourceLine> &Sample() const { return sample_; }
  // What identifies the statement's layout as it was opened; the mapping is
  // saved under it.
  QString Signature() const;
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
  const BillLayout *Layout() const { return layout_ ? &*layout_ : nullptr; }
  const BillHead &Head() const { return head_; }
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

  // The texts line gives the file's columns (one per column, in column
  // order; unmapped ones empty); false with the reason when it does not
  // read. The rules set their columns last, so they win over a mapped
  // value, the amount and its side. ruleSet, when given, gets the
  // positions the rules set; note what the line's reading changed (a
  // negative expense taken as income).
  bool ConvertLine(const SourceLine &line, QStringList *texts,
                   QString *reason, QList<int> *ruleSet = nullptr,
                   QString *note = nullptr) const;
  // Why the mapping cannot import anything: "对账单中找不到日期列" when the
  // file has a date column and no column of the statement goes to one,
  // "对账单中找不到金额列" likewise for the amount; empty when it can.
  QString MappingProblem() const;
  // The line of the statement numbered lineNumber as read (its fields by
  // the header); false with a message when there is none or the statement
  // no longer reads.
  bool ReadLine(int lineNumber, SourceLine *line, QString *error) const;
  // The record made of texts for the target group with key, as a typed
  // record: defaults, automatic date and time (unless mapped), formulas.
  CRowItem MakeRecord(const QStringList &texts, int key,
                      const QDateTime &now) const;
  // What every record of one import starts from: the empty row of the
  // target group and the automatic date and time of the import's moment.
  struct RecordStart {
    CRowItem empty;
    QString date;
    QString time;
  };
  RecordStart StartOfRecords(const QDateTime &now) const;
  // *finite, when given, is false when a formula's result was no finite
  // number (EvaluateRow); such a record is not to be stored.
  CRowItem MakeRecord(const QStringList &texts, int key,
                      const RecordStart &start, bool *finite = nullptr) const;

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
  // The layout of this statement as the mapping reads it, called name: the
  // header's columns with the roles the mapping gives them, its side form,
  // its channel and where its rows end.
  BillLayout LayoutOfMapping(const QString &name) const;
  // Keeps that layout as one of the user's own ("保存为账单格式…"), so that
  // the statements of this layout are recognised from now on; false with
  // a message for the user when it cannot be.
  bool SaveAsLayout(const QString &name, QString *error);

private:
  // The normalised values of the mapped fields of a record, which make it
  // a duplicate of another.
  QString DuplicateKey(const QStringList &texts) const;
  // The duplicate keys of the group's records, each with the number of
  // records that have it.
  QHash<QString, int> ExistingKeys() const;
  // Whether a record of the group still unmatched has texts' key; if so it
  // is matched (taken), so that a statement line is a duplicate only while
  // equal records are left: three equal lines against two records give two
  // duplicates and one new line.
  bool TakeDuplicate(QHash<QString, int> &existing,
                     const QStringList &texts) const;
  bool ValidGroup(QString *error) const;
  // The signed amount of line (expenses below zero) and whether its side is
  // neutral; false with reason when it does not read. note tells when a
  // negative amount turned the side the line gives.
  bool ReadAmount(const SourceLine &line, double *amount, bool *neutral,
                  QString *reason, QString *note = nullptr) const;
  // The value of the column called source in line, placeholders empty.
  QString FieldOf(const SourceLine &line, const QString &source) const;
  // The text of a mapped value for a column of type (empty when the line
  // gives none); false with reason when it does not read.
  bool ValueText(const SourceLine &line, int type, const QString &source,
                 QString *text, QString *reason) const;
  // The payment method of a line: its own, else the bill's channel, as the
  // option of the method column that stands for it when there is one.
  QString MethodText(const QString &value) const;
  // Whether the statement is a credit card's: its spending is positive.
  bool IsCreditCard() const;
  // Puts amount into texts: positive with its side in the direction column
  // when the mapping has one, else signed (negated when asked).
  void WriteAmount(double amount, bool neutral, QStringList *texts) const;
  // Whether the mapping reads a bill's 收/支 or status: its lines are then
  // decided over the whole bill.
  bool IsBill() const;
  // The bill's number of line, or empty.
  QString BillNumberOf(const SourceLine &line) const;
  // What a bill line says of itself; read tells whether it converted.
  BillFacts FactsOf(const SourceLine &line, bool read) const;
  // Applies what the whole bill makes of each line that reads.
  // before: the lines earlier bills left in the file.
  void DecideBillLines(const std::vector<BillFacts> &facts,
                       const std::vector<SeenLine> &before,
                       std::vector<CheckedLine> &lines) const;
  // Check, telling a cancel apart.
  bool CheckLines(ImportCheck *check, const ExchangeProgress &progress,
                  bool *cancelled, QString *error);
  // Marks the lines between the household's own accounts (a credit card's
  // repayment, a top-up of a payment service's balance).
  void MarkOwnAccounts(const BillFacts &fact, CheckedLine &line) const;
  // Marks duplicates among the new lines, and payments stored already
  // from another bill.
  void FindDuplicates(const std::vector<SeenLine> &before,
                      std::vector<CheckedLine> &lines);
  // The name a bill is known by in the lines seen.
  QString BillName() const;
  // Store without holding back the messages of its parts.
  int StoreLines(const ImportCheck &check, const QSet<int> &ticked,
                 const ExchangeProgress &progress, bool *cancelled,
                 QString *error);
  // Adds the options of the method column that stored lines name and the
  // column does not offer; inside the import's unit of work.
  bool AddMethodOptions(const ImportCheck &check, const QSet<int> &ticked);
  // Takes the mapping saved for the layout when the file read with its
  // settings has the columns it maps; otherwise leaves the mapping and the
  // lines read with format.
  bool LoadFittingMapping(const StatementFormat &format);
  // Whether every source column the mapping names was read.
  bool MappedColumnsRead() const;
  // The stored text of a statement's date in the mapping's date form, or
  // a null text when it does not read. A statement repeats its days line
  // after line; each text is read once.
  QString DateText(const QString &value, bool withTime) const;
  // The last day of the statement's period, for dates without a year.
  QDate periodEnd_;

  AccountFile &file_;
  QString path_;
  QStringList headers_;
  QString signature_;
  std::optional<BillLayout> layout_;
  // The index of each source column among the headers, once looked up.
  mutable QHash<QString, qsizetype> columnIndexes_;
  BillHead head_;
  bool refundsCancelPayments_ = false;
  std::vector<SourceLine> sample_;
  ImportMapping mapping_;
  bool mappingSaved_ = false;
  int groupId_ = 0;
  ImportRules rules_;
  mutable QHash<QString, QString> dateTexts_;
};
