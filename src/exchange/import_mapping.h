// How the columns of a statement become the columns of an account file:
// which source column fills which field, how dates and amounts are read,
// and the reading settings of the file. A mapping is saved in the account
// file (table FilterMemory, a set of class FSC_IMPORT_MAPPING titled with
// the statement's signature), so that the next statement of the same bank
// imports in one step.
#pragma once

#include "exchange/statement_source.h"

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>

#include <vector>

class CDBVisiter;
class ColumnList;
struct ColumnDef;

// The class of the saved import mappings in FilterMemory.
inline constexpr int FSC_IMPORT_MAPPING = 4;

struct ImportMapping {
  StatementFormat format;
  // (field name, source column name) for every mapped field but the amount.
  QList<QPair<QString, QString>> fields;
  // The field that takes the amount, read from amountColumn (a signed
  // amount) or from the pair debitColumn / creditColumn (credit - debit).
  QString amountField;
  QString amountColumn;
  QString debitColumn;
  QString creditColumn;
  // Stores the amount with the opposite sign (expenses as positive).
  bool negate = false;
  // The option column (its options include 支出 and 收入) that takes the
  // side of each amount; the amount is then stored positive. The side comes
  // from directionColumn (a bill's 收/支) or else from the amount's sign.
  QString directionField;
  QString directionColumn;
  // The columns of a bill that decide what a line becomes (besides filling
  // a field): its state (交易状态), its kind (交易类型), its own number,
  // the merchant's order number, the counterpart and the amount refunded
  // of a payment.
  QString statusColumn;
  QString kindColumn;
  QString numberColumn;
  QString merchantColumn;
  QString counterpartColumn;
  QString refundedColumn;
  // The form of the dates (see DateForms) and the decimal separator.
  QString dateForm = QStringLiteral("yyyy-MM-dd");
  bool decimalComma = false;

  bool UsesDebitCredit() const {
    return !debitColumn.isEmpty() || !creditColumn.isEmpty();
  }
  // The source column of field, or empty.
  QString SourceOf(const QString &fieldName) const;
  // Maps field to source (replacing its mapping); an empty source unmaps.
  void Map(const QString &fieldName, const QString &source);
  bool operator==(const ImportMapping &other) const;
};

// What identifies a statement layout: "OFX", or "CSV:" or "XLSX:" and the
// header names joined by "|"; a CSV that is not comma-separated UTF-8 names
// its delimiter and encoding: "CSV(semicolon GB18030):日期|项目|金额".
QString StatementSignature(const StatementFormat &format,
                           const QStringList &headers);

// Saves mapping under signature, replacing what was saved under it.
bool SaveImportMapping(CDBVisiter &session, const QString &signature,
                       const ImportMapping &mapping);
// The mapping saved under signature; false when there is none.
bool LoadImportMapping(CDBVisiter &session, const QString &signature,
                       ImportMapping *mapping);

// The option column whose options include 支出 and 收入, or null.
const ColumnDef *DirectionColumnOf(const ColumnList &columns);

struct BillLayout;

// The mapping of a known bill: each column goes by its role (time to the
// first date column and the first time column, the amount to the first
// plain number column, 收/支 to the direction column, 交易对方 and the goods
// to text columns so captioned or else the first free ones, the payment
// method to an option column captioned 支付方式, 备注 to a column so
// captioned); the date form is read from the sample.
ImportMapping BillImportMapping(const BillLayout &layout,
                                const ColumnList &columns,
                                const StatementFormat &format,
                                const QStringList &headers,
                                const std::vector<SourceLine> &sample);

// A first mapping: source columns named like a field's name or caption go
// to that field; otherwise usual bank names go to the first field of a
// fitting type (dates, amounts, debit and credit, texts). The key column is
// never mapped: records get new keys. Date form and decimal separator are
// detected from the sample lines. format is kept.
ImportMapping GuessImportMapping(const ColumnList &columns,
                                 const StatementFormat &format,
                                 const QStringList &headers,
                                 const std::vector<SourceLine> &sample);
