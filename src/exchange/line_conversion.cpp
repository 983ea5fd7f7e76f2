// Converting statement lines into record texts; see line_conversion.h.
#include "exchange/line_conversion.h"

#include "exchange/bill_values.h"
#include "exchange/import_rules.h"
#include "exchange/statement_source.h"
#include "exchange/statement_values.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "records/record_cell_text.h"

#include <cmath>

namespace {

bool IsNumberType(int type) {
  return type == FT_INTEGER || type == FT_FLOAT;
}

// Whether a line's fields fit the header: as many, or differing only by
// empty fields at the end (a bill that ends its header line with a comma
// and its rows without one, or the other way round).
bool FieldsFitHeader(const QStringList &fields, const QStringList &headers) {
  const QStringList &longer = fields.size() > headers.size() ? fields : headers;
  const qsizetype shorter = std::min(fields.size(), headers.size());
  for (qsizetype i = shorter; i < longer.size(); ++i)
    if (!longer.at(i).trimmed().isEmpty())
      return false;
  return true;
}

// The time of day at the end of a date text ("2024-03-01 12:30"), or a
// null text.
QString TimeAtEnd(const QString &value) {
  const qsizetype space = value.lastIndexOf(QLatin1Char(' '));
  const qsizetype t = value.lastIndexOf(QLatin1Char('T'));
  const qsizetype at = std::max(space, t);
  return at > 0 ? TimeOfDayText(value.mid(at + 1)) : QString();
}

// Whether text is a time of day as the date forms allow it after a date:
// "H:m" or "H:m:s".
bool IsTimeOfDay(QStringView text) {
  int parts = 0, digits = 0;
  for (const QChar c : text) {
    if (c.isDigit() && c.unicode() < 128 && ++digits <= 2)
      continue;
    if (c != QLatin1Char(':') || digits == 0)
      return false;
    ++parts;
    digits = 0;
  }
  return digits > 0 && (parts == 1 || parts == 2);
}

} // namespace

LineConverter::LineConverter(const ColumnList &columns,
                             const ImportMapping &mapping,
                             const QStringList &headers,
                             const ImportRules &rules, const QDate &periodEnd)
    : columns_(columns), mapping_(mapping), headers_(headers), rules_(rules),
      periodEnd_(periodEnd) {}

QString LineConverter::FieldOf(const SourceLine &line,
                               const QString &source) const {
  if (source.isEmpty())
    return QString();
  auto found = columnIndexes_.constFind(source);
  if (found == columnIndexes_.cend())
    found = columnIndexes_.insert(source, ColumnIndex(headers_, source));
  return found.value() >= 0 ? ValueOrEmpty(line.fields.value(found.value()))
                            : QString();
}

bool LineConverter::ValueText(const SourceLine &line, int type,
                              const QString &source, QString *text,
                              QString *reason) const {
  QString value = FieldOf(line, source);
  text->clear();
  if (IsDatePickerType(type)) {
    // A line without its own date may have the day it was booked.
    if (value.isEmpty())
      value = FieldOf(line, mapping_.postedColumn);
    if (value.isEmpty()) {
      *reason = QStringLiteral("没有日期");
      return false;
    }
    const bool withTime = type == FT_DATETIME;
    if (withTime && TimeAtEnd(value).isNull()) {
      const QString time = TimeOfDayText(FieldOf(line, mapping_.timeColumn));
      if (!time.isEmpty())
        value += QLatin1Char(' ') + time;
    }
    *text = DateText(value, withTime);
    if (!text->isNull())
      return true;
    *reason = IsYearlessForm(mapping_.dateForm) && !periodEnd_.isValid()
                  ? QStringLiteral("日期没有年份：%1").arg(value)
                  : QStringLiteral("日期无法识别：%1").arg(value);
    return false;
  }
  if (value.isEmpty())
    return true;
  if (IsTimeOnlyType(type)) {
    // A time of day, or the time of a date; a day alone gives no time.
    QString time = TimeOfDayText(value);
    if (time.isNull())
      time = TimeAtEnd(value);
    if (time.isNull() && !DateText(value, false).isNull())
      return true;
    if (time.isNull()) {
      *reason = QStringLiteral("时间无法识别：%1").arg(value);
      return false;
    }
    *text = time;
    return true;
  }
  if (IsNumberType(type)) {
    double number = 0;
    if (!ParseAmount(value, mapping_.decimalComma, &number)) {
      *reason = QStringLiteral("数值无法识别：%1").arg(value);
      return false;
    }
    if (!(std::abs(number) < kMaxMoney)) {
      *reason = QStringLiteral("数值超出范围：%1").arg(value);
      return false;
    }
    *text = NumberText(number);
    return true;
  }
  *text = value;
  return true;
}

QString LineConverter::MethodText(const QString &value) const {
  const QString text = value.isEmpty() ? mapping_.channel : value;
  const int position = columns_.PositionOf(mapping_.methodField);
  if (text.isEmpty() || position < 0 ||
      columns_.At(position).type != FT_OPTION)
    return text;
  const QString option = FittingOption(text, columns_.At(position).Choices());
  return option.isEmpty() ? text : option;
}

bool LineConverter::Convert(const SourceLine &line, QStringList *texts,
                            QString *reason, QList<int> *ruleSet,
                            QString *note) const {
  if (!line.problem.isEmpty()) {
    *reason = line.problem;
    return false;
  }
  if (mapping_.format.kind != StatementKind::Ofx &&
      !FieldsFitHeader(line.fields, headers_)) {
    *reason = QStringLiteral("字段数为%1，应为%2")
                  .arg(line.fields.size())
                  .arg(headers_.size());
    return false;
  }
  texts->fill(QString(), columns_.Size());
  for (const auto &[fieldName, source] : mapping_.fields) {
    const int position = columns_.PositionOf(fieldName);
    if (position < 0 || columns_.At(position).type == FT_KEY)
      continue;
    if (!ValueText(line, columns_.At(position).type, source,
                   &(*texts)[position], reason))
      return false;
  }
  const int method = columns_.PositionOf(mapping_.methodField);
  if (method >= 0 && method < texts->size())
    (*texts)[method] = MethodText((*texts)[method]);
  // A foreign payment keeps its own amount beside the one in yuan.
  const int remark = columns_.PositionOf(mapping_.remarkField);
  const QString original = FieldOf(line, mapping_.originalColumn);
  const QString currency = FieldOf(line, mapping_.currencyColumn);
  if (remark >= 0 && remark < texts->size() && !original.isEmpty() &&
      !IsYuan(currency)) {
    QString &text = (*texts)[remark];
    const QString foreign =
        QStringLiteral("原币金额：%1 %2").arg(original, currency).trimmed();
    text = text.isEmpty() ? foreign : text + QStringLiteral("；") + foreign;
  }
  if (columns_.PositionOf(mapping_.amountField) >= 0 &&
      (mapping_.UsesDebitCredit() || !mapping_.amountColumn.isEmpty())) {
    double amount = 0;
    bool neutral = false;
    if (!ReadAmount(line, &amount, &neutral, reason, note))
      return false;
    WriteAmount(columns_, mapping_, amount, neutral, texts);
  }
  // The rules set their columns last, so they win over a mapped value, the
  // amount and its side.
  rules_.Apply(headers_, line.fields, columns_, texts, ruleSet);
  return true;
}

bool LineConverter::ReadAmount(const SourceLine &line, double *amount,
                               bool *neutral, QString *reason,
                               QString *note) const {
  auto read = [&](const QString &source, double *value) {
    double refunded = 0;
    const QString text = AmountWithoutNote(FieldOf(line, source), &refunded);
    *value = 0;
    if (text.isEmpty())
      return true;
    if (!ParseAmount(text, mapping_.decimalComma, value)) {
      *reason = QStringLiteral("金额无法识别：%1").arg(text);
      return false;
    }
    // More than 15 significant digits with the cents are no amount of money.
    if (!(std::abs(*value) < kMaxMoney)) {
      *reason = QStringLiteral("金额超出范围：%1").arg(text);
      return false;
    }
    *value = RoundedMoney(*value);
    return true;
  };
  *amount = 0;
  *neutral = false;
  if (mapping_.UsesDebitCredit()) {
    if (FieldOf(line, mapping_.debitColumn).isEmpty() &&
        FieldOf(line, mapping_.creditColumn).isEmpty()) {
      *reason = QStringLiteral("没有金额");
      return false;
    }
    const QString currency = FieldOf(line, mapping_.currencyColumn);
    if (!IsYuan(currency) && mapping_.originalColumn.isEmpty()) {
      *reason = QStringLiteral("外币金额，账单没有人民币金额：%1")
                    .arg(currency);
      return false;
    }
    double debit = 0, credit = 0;
    if (!read(mapping_.debitColumn, &debit) ||
        !read(mapping_.creditColumn, &credit))
      return false;
    // Debits are money going out, whatever sign the bank writes them with.
    *amount = std::abs(credit) - std::abs(debit);
    return true;
  }
  if (FieldOf(line, mapping_.amountColumn).isEmpty()) {
    *reason = QStringLiteral("没有金额");
    return false;
  }
  // An amount in another currency, with no amount in yuan beside it, is
  // not booked as yuan.
  const QString currency = FieldOf(line, mapping_.currencyColumn);
  if (!IsYuan(currency) && mapping_.originalColumn.isEmpty()) {
    *reason = QStringLiteral("外币金额，账单没有人民币金额：%1 %2")
                  .arg(FieldOf(line, mapping_.amountColumn), currency);
    return false;
  }
  double value = 0;
  if (!read(mapping_.amountColumn, &value))
    return false;
  // A side the line gives turns with a negative amount: a negative expense
  // is income.
  bool out = false;
  if (!mapping_.directionColumn.isEmpty()) {
    const BillSide side = SideOf(FieldOf(line, mapping_.directionColumn));
    if (side == BillSide::Neutral) {
      *amount = std::abs(value);
      *neutral = true;
      return true;
    }
    out = side == BillSide::Out;
  } else if (!mapping_.flagColumn.isEmpty()) {
    const QString flag = FieldOf(line, mapping_.flagColumn);
    auto startsWithAny = [&](const QStringList &texts) {
      for (const QString &text : texts)
        if (!text.isEmpty() && flag.startsWith(text, Qt::CaseInsensitive))
          return true;
      return false;
    };
    out = startsWithAny(mapping_.flagOut);
    if (!out && !startsWithAny(mapping_.flagIn)) {
      *reason = QStringLiteral("借贷标志无法识别：%1").arg(flag);
      return false;
    }
  } else {
    *amount = mapping_.spendingPositive ? -value : value;
    return true;
  }
  *amount = out ? -value : value;
  if (value < 0 && note)
    *note = out ? QStringLiteral("金额为负，记为收入")
                : QStringLiteral("金额为负，记为支出");
  return true;
}

QString LineConverter::DateText(const QString &value, bool withTime) const {
  // A bill gives each payment its moment; the day alone is read once.
  const qsizetype space = value.indexOf(QLatin1Char(' '));
  if (!withTime && space > 0 &&
      IsTimeOfDay(QStringView(value).sliced(space + 1)))
    return DateText(value.left(space), false);
  // The form is part of the key: the dialog may change it between passes.
  const QString key = mapping_.dateForm + QChar(withTime ? u'1' : u'0') + value;
  const auto found = dateTexts_.constFind(key);
  if (found != dateTexts_.cend())
    return found.value();
  DateValue date = ParseDateInForm(value, mapping_.dateForm, periodEnd_);
  // A workbook may give one day as a number (20240315) and the others as
  // dates: there, forms that no day reads two ways are tried too.
  const bool workbook = mapping_.format.kind == StatementKind::Xlsx ||
                        mapping_.format.kind == StatementKind::Xls;
  for (const char *form : {"yyyy-MM-dd", "yyyy/M/d", "yyyyMMdd", "yyyy年M月d日"})
    if (workbook && !date.IsValid())
      date = ParseDateInForm(value, QString::fromUtf8(form));
  const QString text =
      date.IsValid() ? FormatDateTime(date, withTime ? DTP_BOTH : DTP_DATE)
                     : QString();
  if (dateTexts_.size() >= 4096)
    dateTexts_.clear();
  dateTexts_.insert(key, text);
  return text;
}

BillFacts LineConverter::FactsOf(const SourceLine &line, bool read) const {
  BillFacts facts;
  facts.lineNumber = line.lineNumber;
  facts.read = read;
  facts.status = FieldOf(line, mapping_.statusColumn);
  facts.kind = FieldOf(line, mapping_.kindColumn);
  facts.number = FieldOf(line, mapping_.numberColumn);
  facts.merchant = FieldOf(line, mapping_.merchantColumn);
  facts.counterpart = FieldOf(line, mapping_.counterpartColumn);
  facts.goods = FieldOf(line, mapping_.goodsColumn);
  facts.method = FieldOf(line, mapping_.SourceOf(mapping_.methodField));
  if (facts.method.isEmpty())
    facts.method = mapping_.channel;
  double amount = 0, refunded = 0;
  bool neutral = false;
  QString reason;
  if (read && ReadAmount(line, &amount, &neutral, &reason)) {
    facts.amount = std::abs(amount);
    facts.side = neutral     ? BillSide::Neutral
                 : amount < 0 ? BillSide::Out
                              : BillSide::In;
  }
  if (ParseAmount(FieldOf(line, mapping_.refundedColumn), false, &refunded))
    facts.refunded = std::abs(refunded);
  // "129.00(已退款20.00)": the amount says what was refunded of it.
  double noted = 0;
  AmountWithoutNote(FieldOf(line, mapping_.amountColumn), &noted);
  if (noted < 0)
    facts.refunded = facts.amount;
  else if (noted > 0)
    facts.refunded = noted;
  return facts;
}

void WriteAmount(const ColumnList &columns, const ImportMapping &mapping,
                 double amount, bool neutral, QStringList *texts) {
  const int amountPosition = columns.PositionOf(mapping.amountField);
  if (amountPosition < 0 || amountPosition >= texts->size())
    return;
  const int direction = columns.PositionOf(mapping.directionField);
  if (direction < 0 || direction >= texts->size()) {
    (*texts)[amountPosition] = MoneyText(mapping.negate ? -amount : amount);
    return;
  }
  if (!neutral && amount != 0)
    (*texts)[direction] =
        amount < 0 ? QStringLiteral("支出") : QStringLiteral("收入");
  (*texts)[amountPosition] = MoneyText(std::abs(amount));
}

QString MappingProblem(const ColumnList &columns,
                       const ImportMapping &mapping) {
  bool hasDateColumn = false, hasNumberColumn = false;
  for (const ColumnDef &column : columns.All()) {
    hasDateColumn = hasDateColumn || IsDatePickerType(column.type);
    hasNumberColumn = hasNumberColumn ||
                      ((column.type == FT_FLOAT || column.type == FT_INTEGER));
  }
  if (hasDateColumn && !mapping.HasDate(columns))
    return QStringLiteral("对账单中找不到日期列");
  if (hasNumberColumn && !mapping.HasAmount(columns))
    return QStringLiteral("对账单中找不到金额列");
  return QString();
}

bool ReadsBill(const ImportMapping &mapping) {
  return !mapping.directionColumn.isEmpty() || !mapping.statusColumn.isEmpty();
}
