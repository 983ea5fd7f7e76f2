// Telling a known bill (bill_layouts.h) by its content: the first lines of
// the file as its reader gives them (statement_reader.h), never more than
// its first 64 KB of a CSV, or the first rows of a workbook's sheet. A
// known bill gives its layout, the reading settings (encoding, the lines
// above the header, where its rows end) and what its head says: the
// account holder and the period. A file that fits no layout is no error:
// it is read as any statement.
#pragma once

#include "exchange/bill_layouts.h"
#include "exchange/statement_lines.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

class StatementFile;

struct BillHead {
  QString holder;      // 姓名, 微信昵称, 账号 or 户名 as the bill writes it
  QString periodStart; // 起始时间 as written, without brackets
  QString periodEnd;   // 终止时间
  QString card;        // the last four digits of the card or account
  QString text;        // the lines above the header, one per line
};

// The last day of the period head gives (its end, else its start), for
// dates the bill writes without a year; invalid when it gives none.
QDate PeriodEndOf(const BillHead &head);

struct RecognisedBill {
  const BillLayout *layout = nullptr;
  StatementFormat format;
  BillHead head;
};

// What the user is told of a recognised bill: its layout, holder and
// period, "微信支付账单：小明，2024-03-01 00:00:00 至 2024-03-31 23:59:59".
QString BillTitle(const BillLayout &layout, const BillHead &head);

// The layout among BillLayouts() of source whose header is one of lines (the
// first lines of a file, each as its fields), with the lines above the
// header (skipLines) and the head they hold; false when none fits. Of the
// layouts that fit the first line that fits any, the one with the most of
// its columns in the header wins.
bool RecogniseBillLines(const QList<QStringList> &lines, BillSource source,
                        RecognisedBill *bill);

// The head of a statement read with format that is no known bill: what
// the lines above its header say.
BillHead ReadStatementHead(StatementFile &file, const StatementFormat &format);

// Recognises the bill at path: a CSV from its first kStatementHeadBytes, a
// workbook from the first rows of its sheet. False when it is no known bill
// (or cannot be read: the statement reader says why).
bool RecogniseBill(const QString &path, RecognisedBill *bill);
bool RecogniseBill(StatementFile &file, RecognisedBill *bill);
