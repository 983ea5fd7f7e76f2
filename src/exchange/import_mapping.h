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

// What identifies a statement layout: "OFX", or "CSV:" and the header names
// joined by "|"; a CSV that is not comma-separated UTF-8 names its
// delimiter and encoding: "CSV(; GB18030):日期|项目|金额".
QString StatementSignature(const StatementFormat &format,
                           const QStringList &headers);

// Saves mapping under signature, replacing what was saved under it.
bool SaveImportMapping(CDBVisiter &session, const QString &signature,
                       const ImportMapping &mapping);
// The mapping saved under signature; false when there is none.
bool LoadImportMapping(CDBVisiter &session, const QString &signature,
                       ImportMapping *mapping);

// A first mapping: source columns named like a field's name or caption go
// to that field; otherwise usual bank names go to the first field of a
// fitting type (dates, amounts, debit and credit, texts). The key column is
// never mapped: records get new keys. Date form and decimal separator are
// detected from the sample lines. format is kept.
ImportMapping GuessImportMapping(const ColumnList &columns,
                                 const StatementFormat &format,
                                 const QStringList &headers,
                                 const std::vector<SourceLine> &sample);
