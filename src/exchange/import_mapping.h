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
  // The column of the goods or a bank's description: it tells repayments,
  // top-ups and payments made through a payment service.
  QString goodsColumn;
  // The day the bank booked a line, read when the line's date is empty.
  QString postedColumn;
  // The column of a time of day that goes with the date (a bank's
  // 交易时间 beside its 交易日期), for a field of date and time.
  QString timeColumn;
  // The 借/贷 column that gives the side of a positive amount, with the
  // texts (prefixes) that mean money out and money in.
  QString flagColumn;
  QStringList flagOut;
  QStringList flagIn;
  // A credit card's sense of its one amount column: positive is spending,
  // negative a refund or a payment in.
  bool spendingPositive = false;
  // The field of the payment method and what a line that names none was
  // paid with: the bill's own channel ("微信支付", "招商银行(1234)").
  QString methodField;
  QString channel;
  // A foreign payment: its currency and its amount in that currency, kept
  // in remarkField beside the amount booked in yuan.
  QString currencyColumn;
  QString originalColumn;
  QString remarkField;
  // The form of the dates (see DateForms) and the decimal separator.
  QString dateForm = QStringLiteral("yyyy-MM-dd");
  bool decimalComma = false;

  bool UsesDebitCredit() const {
    return !debitColumn.isEmpty() || !creditColumn.isEmpty();
  }
  // Whether the mapping reads an amount: into amountField or a number field.
  bool HasAmount(const ColumnList &columns) const;
  // Whether some date field takes a column of the statement.
  bool HasDate(const ColumnList &columns) const;
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

struct BillLayout;

// The mapping of a bill whose columns' roles are known (a known layout, or
// the roles guessed of an unknown one): each column goes by its role (the
// date to the first free date column, its time to the first time column,
// the amount to the first plain number column with its side as the layout
// gives it, 收/支 to the direction column, 交易对方 and the goods to text
// columns so captioned or else the first free ones, the payment method to
// a column captioned 支付方式, 备注 to a column so captioned); the date
// form is read from the sample. head gives the card of the bill's channel.
// Fields mapped already in base are kept.
ImportMapping BillImportMapping(const BillLayout &layout,
                                const ColumnList &columns,
                                const StatementFormat &format,
                                const QStringList &headers,
                                const std::vector<SourceLine> &sample,
                                const QString &card = QString(),
                                ImportMapping base = ImportMapping());

// A first mapping: source columns named like a field's name or caption go
// to that field; the roles of the others are guessed from their names and
// values (bill_roles.h) and mapped as a bill's. The key column is never
// mapped: records get new keys. Date form and decimal separator are
// detected from the sample lines. format is kept; headText (the lines above
// the header) tells a credit card's statement.
ImportMapping GuessImportMapping(const ColumnList &columns,
                                 const StatementFormat &format,
                                 const QStringList &headers,
                                 const std::vector<SourceLine> &sample,
                                 const QString &headText = QString());
