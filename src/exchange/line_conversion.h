// Converting a line of a statement into the texts of a record, as the
// mapping reads it: each mapped value by the type of its column (a date in
// the mapping's form, a time, a number), the payment method as an option of
// its column, a foreign amount kept beside the one in yuan, the amount with
// its side, and the import rules' values last, so that they win. No value
// is invented: a line without the date or the amount the mapping needs does
// not convert. Also what a line of a bill says of itself (its facts), from
// which the bill's outcomes are decided (bill_outcomes.h).
#pragma once

#include "exchange/bill_lines.h"
#include "exchange/import_mapping.h"

#include <QDate>
#include <QHash>
#include <QList>
#include <QString>
#include <QStringList>

class ColumnList;
class ImportRules;

class LineConverter {
public:
  // The statement's columns are headers; periodEnd is the last day of its
  // period, for dates without a year. Keeps references to all but that.
  LineConverter(const ColumnList &columns, const ImportMapping &mapping,
                const QStringList &headers, const ImportRules &rules,
                const QDate &periodEnd);

  // The texts line gives the file's columns (one per column, in column
  // order; unmapped ones empty); false with the reason when it does not
  // read. ruleSet, when given, gets the positions the rules set; note what
  // the line's reading changed (a negative expense taken as income).
  bool Convert(const SourceLine &line, QStringList *texts, QString *reason,
               QList<int> *ruleSet = nullptr, QString *note = nullptr) const;
  // What a bill line says of itself; read tells whether it converted.
  BillFacts FactsOf(const SourceLine &line, bool read) const;
  // The value of the column called source in line, placeholders empty.
  QString FieldOf(const SourceLine &line, const QString &source) const;

private:
  // The signed amount of line (expenses below zero) and whether its side
  // is neutral; false with reason when it does not read. note tells when a
  // negative amount turned the side the line gives.
  bool ReadAmount(const SourceLine &line, double *amount, bool *neutral,
                  QString *reason, QString *note = nullptr) const;
  // The text of a mapped value for a column of type (empty when the line
  // gives none); false with reason when it does not read.
  bool ValueText(const SourceLine &line, int type, const QString &source,
                 QString *text, QString *reason) const;
  // The payment method of a line: its own, else the bill's channel, as the
  // option of the method column that stands for it when there is one.
  QString MethodText(const QString &value) const;
  // The stored text of a statement's date in the mapping's date form, or
  // a null text when it does not read. A statement repeats its days line
  // after line; each text is read once.
  QString DateText(const QString &value, bool withTime) const;

  const ColumnList &columns_;
  const ImportMapping &mapping_;
  const QStringList &headers_;
  const ImportRules &rules_;
  const QDate periodEnd_;
  // The index of each source column among the headers, once looked up.
  mutable QHash<QString, qsizetype> columnIndexes_;
  mutable QHash<QString, QString> dateTexts_;
};

// Puts amount into texts (one per column): positive with its side in the
// direction column when the mapping has one, else signed (negated when
// asked).
void WriteAmount(const ColumnList &columns, const ImportMapping &mapping,
                 double amount, bool neutral, QStringList *texts);

// Why mapping cannot import anything into a file of columns:
// "对账单中找不到日期列" when the file has a date column and no column of
// the statement goes to one, "对账单中找不到金额列" likewise for the amount;
// empty when it can.
QString MappingProblem(const ColumnList &columns,
                       const ImportMapping &mapping);

// Whether the mapping reads a bill's 收/支 or status: its lines are then
// decided over the whole bill.
bool ReadsBill(const ImportMapping &mapping);
