// Reading the transactions of an OFX/QFX statement: the SGML form of OFX 1
// (leaf elements without end tags) and the XML form of OFX 2, in one pass
// over the file in chunks, without a temporary copy. The reader is bounded:
// nesting deeper than kMaxOfxDepth, a tag or a value too long, or a file
// that ends inside an element is refused as a whole with a message naming
// the file.
#pragma once

#include "exchange/statement_reader.h"

#include <QByteArray>
#include <QString>
#include <QStringList>

#include <functional>

inline constexpr int kMaxOfxDepth = 64;

// The fields an OFX transaction gives, in this order: the statement's
// columns.
QStringList OfxColumns();

// Whether head, the start of a file, holds an OFX header or element.
bool LooksLikeOfx(const QByteArray &head);

// Calls onLine for every transaction (STMTTRN) in order, until it returns
// false. The fields follow OfxColumns(): the posted date as "yyyy-MM-dd"
// (the text as written when it names no real day, so that it is refused
// like any unreadable date), the amount as written, name, memo and id. A
// transaction without a date or an amount carries that in problem. False
// with error when the file cannot be read or is no complete OFX statement.
bool ReadOfxTransactions(const QString &path, const LineSink &onLine,
                         QString *error);

// The day of an OFX date "YYYYMMDD[HHMM[SS[.XXX]]][[offset:zone]]" as
// "yyyy-MM-dd"; a null text when it is no such date or names no real day
// or time.
QString OfxDateText(const QString &text);

// OFX statements: their columns are OfxColumns(), no line stands above
// them, and each transaction is a line.
class OfxReader : public StatementReader {
public:
  StatementKind Kind() const override { return StatementKind::Ofx; }
  bool CanRead(const QByteArray &head) const override {
    return LooksLikeOfx(head);
  }
  bool DetectFormat(StatementFile &file, StatementFormat *format,
                    QString *error) const override;
  QList<QStringList> FirstLines(StatementFile &file, StatementFormat *format,
                                FirstLook look) const override;
  bool ReadLines(StatementFile &file, const StatementFormat &format,
                 QStringList *headers, const LineSink &onLine,
                 QString *error) const override;
};
