// Importing a statement into a group; see statement_import.h.
#include "exchange/statement_import.h"

#include "base/held_messages.h"
#include "base/prompt.h"
#include "db/db_visiter.h"
#include "db/describe_error.h"
#include "exchange/bill_number_column.h"
#include "exchange/bill_values.h"
#include "exchange/same_money.h"
#include "exchange/import_rule_store.h"
#include "exchange/statement_values.h"
#include "formula/evaluate_row.h"
#include "groups/group_node.h"
#include "groups/group_tree.h"
#include "document/account_file.h"
#include "model/column_store.h"
#include "model/field_type.h"
#include "records/command_history.h"
#include "records/record_cell_text.h"
#include "records/row_item.h"

#include <QDateTime>

namespace {

constexpr int kSampleLines = 20;
constexpr int kBatch = 500;

bool IsNumberType(int type) {
  return type == FT_INTEGER || type == FT_FLOAT;
}

// The first group of the tree with the state bits, or any group when bits
// is 0; null when there is none.
GroupNode *FirstGroup(GroupNode &node, unsigned bits) {
  if (node.IsGroup() && (bits == 0 || node.HasState(bits)))
    return &node;
  for (const auto &child : node.children)
    if (GroupNode *found = FirstGroup(*child, bits))
      return found;
  return nullptr;
}

// Gives record the bill's number: in its column when the grid shows it, else
// as an item of its own, which the record's statements store all the same.
void SetBillNumber(CRowItem &record, const QString &number) {
  if (FieldValueItem *item = record.Item(BillNumberField())) {
    item->text = number;
    return;
  }
  FieldValueItem item;
  item.type = FT_TEXT;
  item.fieldName = BillNumberField();
  item.text = number;
  record.items.append(item);
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

} // namespace

StatementImport::StatementImport(AccountFile &file) : file_(file) {
  GroupNode *group = FirstGroup(file.Root(), GS_SELECTED);
  if (!group)
    group = FirstGroup(file.Root(), 0);
  groupId_ = group ? group->id : 0;
  rules_ = ImportRules(LoadImportRules(file));
}

bool StatementImport::Open(const QString &path, QString *error) {
  path_ = path;
  StatementFormat format;
  RecognisedBill bill;
  layout_.reset();
  head_ = BillHead();
  if (RecogniseBill(path, &bill)) {
    format = bill.format;
    layout_ = *bill.layout;
    head_ = bill.head;
  } else if (!DetectStatementFormat(path, &format, error)) {
    return false;
  } else {
    head_ = ReadStatementHead(path, format);
  }
  periodEnd_ = PeriodEndOf(head_);
  mapping_.format = format;
  if (!Reload(error))
    return false;
  if (format.kind != StatementKind::Ofx && headers_.size() < 2) {
    *error = NotAStatementMessage();
    return false;
  }
  signature_ = StatementSignature(format, headers_);
  mappingSaved_ = LoadFittingMapping(format);
  if (mappingSaved_)
    return true;
  if (!layout_) {
    mapping_ = GuessImportMapping(file_.Columns(), format, headers_, sample_,
                                  head_.text);
    return true;
  }
  // A card the head does not name may be named on every line.
  QString card = head_.card;
  const qsizetype cardIndex =
      ColumnIndex(headers_, layout_->HeaderOf(BillRole::Card));
  if (card.isEmpty() && cardIndex >= 0 && !sample_.empty())
    card = ValueOrEmpty(sample_.front().fields.value(cardIndex)).right(4);
  mapping_ = BillImportMapping(*layout_, file_.Columns(), format, headers_,
                               sample_, card);
  return true;
}

bool StatementImport::LoadFittingMapping(const StatementFormat &format) {
  CDBVisiter *session = file_.Session();
  if (!session)
    return false;
  // A layout seen before brings back its mapping and its reading settings.
  // Older builds saved mappings under the column names alone; such a
  // mapping applies only when the file read with its settings has every
  // column it maps, as the file it was made for has.
  const ImportMapping read = mapping_;
  bool tried = false;
  for (const QString &signature :
       {signature_, StatementSignature(StatementFormat(), headers_)}) {
    ImportMapping saved;
    saved.format = format;
    if (!LoadImportMapping(*session, signature, &saved))
      continue;
    mapping_ = saved;
    tried = true;
    QString ignored;
    if (Reload(&ignored) && headers_.size() > 1 && MappedColumnsRead())
      return true;
  }
  // Back to the lines as the file was first read.
  mapping_ = read;
  QString ignored;
  if (tried)
    Reload(&ignored);
  return false;
}

bool StatementImport::MappedColumnsRead() const {
  QStringList sources{mapping_.amountColumn, mapping_.debitColumn,
                      mapping_.creditColumn};
  for (const auto &[field, source] : mapping_.fields)
    sources.append(source);
  for (const QString &source : sources)
    if (!source.isEmpty() && !headers_.contains(source))
      return false;
  return true;
}

bool StatementImport::Reload(QString *error) {
  sample_.clear();
  columnIndexes_.clear();
  return ReadStatement(
      path_, mapping_.format, &headers_,
      [this](const SourceLine &line) {
        if (line.footer)
          return false;
        if (line.problem.isEmpty())
          sample_.push_back(line);
        return sample_.size() < size_t(kSampleLines);
      },
      error);
}

QString StatementImport::Signature() const { return signature_; }

QStringList StatementImport::DateFormChoices() const {
  QStringList dates;
  for (const auto &[field, source] : mapping_.fields) {
    const int position = file_.Columns().PositionOf(field);
    const qsizetype index = headers_.indexOf(source);
    if (position < 0 || index < 0 ||
        !IsDatePickerType(file_.Columns().At(position).type))
      continue;
    for (const SourceLine &line : sample_)
      dates.append(line.fields.value(index));
  }
  return DetectDateForms(dates);
}

void StatementImport::GuessMapping() {
  mapping_ = GuessImportMapping(file_.Columns(), mapping_.format, headers_,
                                sample_);
  mappingSaved_ = false;
}

void StatementImport::DetectValueForms() {
  const QStringList forms = DateFormChoices();
  if (!forms.isEmpty() && !forms.contains(mapping_.dateForm))
    mapping_.dateForm = forms.first();
  QStringList amounts;
  auto add = [&](const QString &source) {
    const qsizetype index = headers_.indexOf(source);
    if (index < 0)
      return;
    for (const SourceLine &line : sample_)
      amounts.append(line.fields.value(index));
  };
  for (const auto &[field, source] : mapping_.fields) {
    const int position = file_.Columns().PositionOf(field);
    if (position >= 0 && IsNumberType(file_.Columns().At(position).type))
      add(source);
  }
  add(mapping_.amountColumn);
  add(mapping_.debitColumn);
  add(mapping_.creditColumn);
  mapping_.decimalComma = DetectDecimalComma(amounts);
}

QString StatementImport::FieldOf(const SourceLine &line,
                                 const QString &source) const {
  if (source.isEmpty())
    return QString();
  auto found = columnIndexes_.constFind(source);
  if (found == columnIndexes_.cend())
    found = columnIndexes_.insert(source, ColumnIndex(headers_, source));
  return found.value() >= 0 ? ValueOrEmpty(line.fields.value(found.value()))
                            : QString();
}

namespace {

// The time of day at the end of a date text ("2024-03-01 12:30"), or a
// null text.
QString TimeAtEnd(const QString &value) {
  const qsizetype space = value.lastIndexOf(QLatin1Char(' '));
  const qsizetype t = value.lastIndexOf(QLatin1Char('T'));
  const qsizetype at = std::max(space, t);
  return at > 0 ? TimeOfDayText(value.mid(at + 1)) : QString();
}

} // namespace

bool StatementImport::ValueText(const SourceLine &line, int type,
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

QString StatementImport::MethodText(const QString &value) const {
  const QString text = value.isEmpty() ? mapping_.channel : value;
  const int position = file_.Columns().PositionOf(mapping_.methodField);
  if (text.isEmpty() || position < 0 ||
      file_.Columns().At(position).type != FT_OPTION)
    return text;
  const QString option =
      FittingOption(text, file_.Columns().At(position).Choices());
  return option.isEmpty() ? text : option;
}

bool StatementImport::IsCreditCard() const {
  return mapping_.spendingPositive ||
         (layout_ && layout_->name.contains(QStringLiteral("信用卡"))) ||
         head_.text.contains(QStringLiteral("信用卡"));
}

QString StatementImport::MappingProblem() const {
  const ColumnList &columns = file_.Columns();
  bool hasDateColumn = false, hasNumberColumn = false;
  for (const ColumnDef &column : columns.All()) {
    hasDateColumn = hasDateColumn || IsDatePickerType(column.type);
    hasNumberColumn = hasNumberColumn ||
                      ((column.type == FT_FLOAT || column.type == FT_INTEGER));
  }
  if (hasDateColumn && !mapping_.HasDate(columns))
    return QStringLiteral("对账单中找不到日期列");
  if (hasNumberColumn && !mapping_.HasAmount(columns))
    return QStringLiteral("对账单中找不到金额列");
  return QString();
}

bool StatementImport::ConvertLine(const SourceLine &line, QStringList *texts,
                                  QString *reason, QList<int> *ruleSet,
                                  QString *note) const {
  const ColumnList &columns = file_.Columns();
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
  texts->fill(QString(), columns.Size());
  for (const auto &[fieldName, source] : mapping_.fields) {
    const int position = columns.PositionOf(fieldName);
    if (position < 0 || columns.At(position).type == FT_KEY)
      continue;
    if (!ValueText(line, columns.At(position).type, source, &(*texts)[position],
                   reason))
      return false;
  }
  const int method = columns.PositionOf(mapping_.methodField);
  if (method >= 0 && method < texts->size())
    (*texts)[method] = MethodText((*texts)[method]);
  // A foreign payment keeps its own amount beside the one in yuan.
  const int remark = columns.PositionOf(mapping_.remarkField);
  const QString original = FieldOf(line, mapping_.originalColumn);
  const QString currency = FieldOf(line, mapping_.currencyColumn);
  if (remark >= 0 && remark < texts->size() && !original.isEmpty() &&
      !IsYuan(currency)) {
    QString &text = (*texts)[remark];
    const QString foreign =
        QStringLiteral("原币金额：%1 %2").arg(original, currency).trimmed();
    text = text.isEmpty() ? foreign : text + QStringLiteral("；") + foreign;
  }
  if (columns.PositionOf(mapping_.amountField) >= 0 &&
      (mapping_.UsesDebitCredit() || !mapping_.amountColumn.isEmpty())) {
    double amount = 0;
    bool neutral = false;
    if (!ReadAmount(line, &amount, &neutral, reason, note))
      return false;
    WriteAmount(amount, neutral, texts);
  }
  rules_.Apply(headers_, line.fields, columns, texts, ruleSet);
  return true;
}

bool StatementImport::ReadAmount(const SourceLine &line, double *amount,
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

void StatementImport::WriteAmount(double amount, bool neutral,
                                  QStringList *texts) const {
  const ColumnList &columns = file_.Columns();
  const int amountPosition = columns.PositionOf(mapping_.amountField);
  if (amountPosition < 0 || amountPosition >= texts->size())
    return;
  const int direction = columns.PositionOf(mapping_.directionField);
  if (direction < 0 || direction >= texts->size()) {
    (*texts)[amountPosition] = MoneyText(mapping_.negate ? -amount : amount);
    return;
  }
  if (!neutral && amount != 0)
    (*texts)[direction] =
        amount < 0 ? QStringLiteral("支出") : QStringLiteral("收入");
  (*texts)[amountPosition] = MoneyText(std::abs(amount));
}

StatementImport::RecordStart
StatementImport::StartOfRecords(const QDateTime &) const {
  // A record of a statement has the date and time the statement gives, never
  // the moment of the import.
  return {CRowItem::EmptyRow(file_, groupId_), QString(), QString()};
}

namespace {

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

QString StatementImport::DateText(const QString &value, bool withTime) const {
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

CRowItem StatementImport::MakeRecord(const QStringList &texts, int key,
                                     const QDateTime &now) const {
  return MakeRecord(texts, key, StartOfRecords(now));
}

CRowItem StatementImport::MakeRecord(const QStringList &texts, int key,
                                     const RecordStart &start,
                                     bool *finite) const {
  CRowItem row = start.empty;
  for (qsizetype i = 0; i < row.items.size() && i < texts.size(); ++i)
    row.items[i].text = texts.at(i);
  row.FillNewRowDefaults(key, start.date, start.time);
  // Mapped values win over defaults; a payment method the line does not
  // give is not made up from the column's default.
  const int method = file_.Columns().PositionOf(mapping_.methodField);
  for (qsizetype i = 0; i < row.items.size() && i < texts.size(); ++i) {
    if (texts.at(i).isEmpty() && i != method)
      continue;
    row.items[i].text = texts.at(i);
    row.items[i].applyingDefault = false;
  }
  const bool allFinite = EvaluateRow(row.items);
  if (finite)
    *finite = allFinite;
  return row;
}

QString StatementImport::DuplicateKey(const QStringList &texts) const {
  const ColumnList &columns = file_.Columns();
  QStringList parts;
  QList<int> positions;
  for (const auto &[fieldName, source] : mapping_.fields)
    positions.append(columns.PositionOf(fieldName));
  positions.append(columns.PositionOf(mapping_.amountField));
  std::sort(positions.begin(), positions.end());
  for (const int position : positions) {
    if (position < 0 || position >= texts.size())
      continue;
    const int type = columns.At(position).type;
    const QString text = texts.at(position).trimmed();
    if (IsDatePickerType(type) || IsTimeOnlyType(type)) {
      const DateValue value = ParseDateTime(text);
      parts.append(value.IsValid() ? FormatDateTime(value) : text);
    } else if (IsNumberType(type)) {
      bool ok = false;
      const double number = text.toDouble(&ok);
      parts.append(ok ? NumberText(number) : text);
    } else {
      parts.append(text);
    }
  }
  return parts.join(QChar(0x1F));
}

QHash<QString, int> StatementImport::ExistingKeys() const {
  QHash<QString, int> keys;
  CDBVisiter *session = file_.Session();
  if (!session)
    return keys;
  const ColumnList &columns = file_.Columns();
  if (session->Query(QStringLiteral("Select * From Users Where "
                                    "trelva_Group_ID=%1")
                         .arg(groupId_)) == 0)
    return keys;
  do {
    QStringList texts;
    for (const ColumnDef &column : columns.All())
      texts.append(session->GetString(column.fieldName));
    ++keys[DuplicateKey(texts)];
  } while (session->MoveNext());
  session->CloseResult();
  return keys;
}

bool StatementImport::TakeDuplicate(QHash<QString, int> &existing,
                                    const QStringList &texts) const {
  // An empty group has no duplicates to look for.
  if (existing.isEmpty())
    return false;
  const auto found = existing.find(DuplicateKey(texts));
  if (found == existing.end() || found.value() == 0)
    return false;
  --found.value();
  return true;
}

bool StatementImport::ValidGroup(QString *error) const {
  const GroupNode *group = FindGroupNode(file_.Root(), groupId_);
  if (group && group->IsGroup())
    return true;
  *error = QStringLiteral("目标分组不存在！");
  return false;
}

int ImportCheck::Count(LineState state) const {
  return int(std::count_if(lines.cbegin(), lines.cend(),
                           [state](const CheckedLine &line) {
                             return line.state == state;
                           }));
}

QSet<int> ImportCheck::TickedLines() const {
  QSet<int> ticked;
  for (const CheckedLine &line : lines)
    if (line.ticked)
      ticked.insert(line.lineNumber);
  return ticked;
}

bool StatementImport::IsBill() const {
  return !mapping_.directionColumn.isEmpty() ||
         !mapping_.statusColumn.isEmpty();
}

QString StatementImport::BillNumberOf(const SourceLine &line) const {
  return FieldOf(line, mapping_.numberColumn);
}

QString StatementImport::BillName() const {
  return SeenBillName(mapping_.channel, layout_ ? layout_->name : QString());
}

BillFacts StatementImport::FactsOf(const SourceLine &line, bool read) const {
  BillFacts facts;
  facts.lineNumber = line.lineNumber;
  facts.read = read;
  facts.status = FieldOf(line, mapping_.statusColumn);
  facts.kind = FieldOf(line, mapping_.kindColumn);
  facts.number = BillNumberOf(line);
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

namespace {

// Puts the moment of a line into its line seen: the date and time as its
// record stores them.
void FillSeen(const ColumnList &columns, const ImportMapping &mapping,
              CheckedLine &line) {
  if (!line.seen)
    return;
  QString date, time;
  for (const auto &[field, source] : mapping.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0 || position >= line.texts.size())
      continue;
    const int type = columns.At(position).type;
    if (IsDatePickerType(type) && date.isEmpty())
      date = line.texts.at(position);
    else if (IsTimeOnlyType(type) && time.isEmpty())
      time = line.texts.at(position);
  }
  if (!time.isEmpty() && !date.contains(QLatin1Char(':')))
    date += QLatin1Char(' ') + time;
  line.seen->moment = date;
}

} // namespace

void StatementImport::DecideBillLines(const std::vector<BillFacts> &facts,
                                      const std::vector<SeenLine> &before,
                                      std::vector<CheckedLine> &lines) const {
  if (!IsBill())
    return;
  const bool sides = file_.Columns().PositionOf(mapping_.directionField) >= 0;
  const int amountPosition = file_.Columns().PositionOf(mapping_.amountField);
  const int directionPosition =
      file_.Columns().PositionOf(mapping_.directionField);
  QSet<QString> refundedBefore;
  for (const SeenLine &seen : before) {
    if (seen.outcome != QStringLiteral("已全额退款"))
      continue;
    if (!seen.number.isEmpty())
      refundedBefore.insert(seen.number);
    if (!seen.merchant.isEmpty())
      refundedBefore.insert(seen.merchant);
  }
  const std::vector<BillOutcome> outcomes =
      ClassifyBillLines(facts, refundsCancelPayments_, refundedBefore);
  for (size_t i = 0; i < lines.size(); ++i) {
    CheckedLine &line = lines[i];
    const BillOutcome &outcome = outcomes[i];
    if (line.state == LineState::Bad)
      continue;
    if (!outcome.skipped.isEmpty()) {
      line.state = LineState::Skipped;
      line.ticked = false;
      line.reason = outcome.skipped;
      continue;
    }
    BillSide side = facts[i].side;
    if (outcome.refundIncome)
      side = BillSide::In;
    // What the bill decides of the amount gives way to what a rule set.
    if ((outcome.refundIncome || outcome.amount >= 0) &&
        !line.ruleSet.contains(amountPosition)) {
      const double amount =
          outcome.amount >= 0 ? outcome.amount : facts[i].amount;
      const QString direction = directionPosition >= 0 && directionPosition < line.texts.size()
                                    ? line.texts.at(directionPosition)
                                    : QString();
      QStringList texts = line.texts;
      WriteAmount(side == BillSide::Out ? -amount : amount, false, &texts);
      if (line.ruleSet.contains(directionPosition))
        texts[directionPosition] = direction;
      line.texts = texts;
    }
    if (side == BillSide::Neutral && !mapping_.directionColumn.isEmpty()) {
      const QString own = OwnAccountsReason(
          facts[i].kind + facts[i].goods + facts[i].counterpart, false, false);
      line.ticked = false;
      // A top-up or withdrawal between a card and the balance is a
      // transfer as in the card's bill; other neutral lines are as the
      // bill says.
      const bool card = facts[i].kind.contains(QStringLiteral("充值")) ||
                        facts[i].kind.contains(QStringLiteral("提现")) ||
                        facts[i].goods.contains(QStringLiteral("充值")) ||
                        facts[i].goods.contains(QStringLiteral("提现"));
      line.reason = own == QStringLiteral("账户间转账") && card
                        ? own
                        : QStringLiteral("不计收支");
    } else if (side == BillSide::In && !mapping_.directionColumn.isEmpty() &&
               !sides) {
      line.ticked = false;
      line.reason = QStringLiteral("账簿没有收支列");
    }
  }
}

void StatementImport::MarkOwnAccounts(const BillFacts &fact,
                                      CheckedLine &line) const {
  if (line.state != LineState::New || !line.ticked)
    return;
  const QString reason =
      OwnAccountsReason(fact.kind + fact.goods + fact.counterpart,
                        fact.side == BillSide::Out, IsCreditCard());
  // A payment service says itself which lines move its balance.
  if (reason.isEmpty() || (reason == QStringLiteral("账户间转账") &&
                           !mapping_.directionColumn.isEmpty()))
    return;
  line.ticked = false;
  line.reason = reason;
}

namespace {

bool SameContent(const SeenLine &a, const SeenLine &b) {
  return a.moment == b.moment && std::abs(a.amount - b.amount) < 0.005 &&
         a.counterpart == b.counterpart;
}

} // namespace

void StatementImport::FindDuplicates(const std::vector<SeenLine> &before,
                                     std::vector<CheckedLine> &lines) {
  // The records of the group are compared by their values only when a
  // line has no number to be found by.
  const bool unnumbered =
      std::any_of(lines.cbegin(), lines.cend(), [](const CheckedLine &line) {
        return line.state == LineState::New && line.number.isEmpty();
      });
  QHash<QString, int> existing = unnumbered ? ExistingKeys() : QHash<QString, int>();
  CDBVisiter *session = file_.Session();
  const QSet<QString> stored = session && HasBillNumberColumn(*session)
                                   ? StoredBillNumbers(*session)
                                   : QSet<QString>();
  // The lines stored before by number; a number seen only on lines left
  // out makes no duplicate, nor does one whose record is gone.
  QMultiHash<QString, const SeenLine *> storedByNumber;
  QSet<QString> seenNumbers;
  for (const SeenLine &seen : before) {
    if (seen.number.isEmpty())
      continue;
    seenNumbers.insert(seen.number);
    if (seen.Stored() && stored.contains(seen.number))
      storedByNumber.insert(seen.number, &seen);
  }
  QMultiHash<QString, size_t> here; // numbers of the lines to be stored
  for (size_t i = 0; i < lines.size(); ++i) {
    CheckedLine &line = lines[i];
    if (line.state != LineState::New)
      continue;
    QString reason;
    if (!line.number.isEmpty()) {
      bool sameNumber = false;
      for (const SeenLine *seen : storedByNumber.values(line.number)) {
        sameNumber = true;
        if (line.seen && SameContent(*seen, *line.seen))
          reason = QStringLiteral("交易单号已导入：%1").arg(line.number);
      }
      // Stored by an older build, which kept the number alone.
      if (reason.isEmpty() && stored.contains(line.number) &&
          !seenNumbers.contains(line.number))
        reason = QStringLiteral("交易单号已导入：%1").arg(line.number);
      for (const size_t earlier : here.values(line.number)) {
        sameNumber = true;
        if (reason.isEmpty() && line.seen && lines[earlier].seen &&
            SameContent(*lines[earlier].seen, *line.seen))
          reason = QStringLiteral("交易单号与第%1行相同").arg(lines[earlier].lineNumber);
      }
      if (reason.isEmpty()) {
        if (line.ticked)
          here.insert(line.number, i);
        if (sameNumber && line.reason.isEmpty())
          line.reason = QStringLiteral("交易单号相同但内容不同");
      }
    } else if (TakeDuplicate(existing, line.texts)) {
      reason = QStringLiteral("与已有记录相同");
    }
    if (reason.isEmpty())
      continue;
    line.state = LineState::Duplicate;
    line.ticked = false;
    line.reason = reason;
  }
  if (!session || before.empty())
    return;
  // The same payment stored from another bill.
  // A payment service's bill gives each line's side in its 收/支 column.
  const QString service = mapping_.directionColumn.isEmpty()
                              ? QString()
                              : PaymentServiceIn(mapping_.channel);
  SameMoney same(before, service, mapping_.channel);
  for (CheckedLine &line : lines) {
    if (line.state != LineState::New || !line.ticked || !line.seen)
      continue;
    const SeenLine *match = same.Match(*line.seen, [&](const SeenLine &seen) {
      return SeenRecordExists(*session, seen);
    });
    if (!match)
      continue;
    line.ticked = false;
    line.reason = SameMoneyReason(*match);
  }
}

bool StatementImport::ReadLine(int lineNumber, SourceLine *line,
                               QString *error) const {
  QStringList headers;
  bool found = false;
  const bool read = ReadStatement(
      path_, mapping_.format, &headers,
      [&](const SourceLine &each) {
        if (each.lineNumber != lineNumber)
          return each.lineNumber < lineNumber;
        *line = each;
        found = true;
        return false;
      },
      error);
  if (read && !found)
    *error = QStringLiteral("对账单中没有第%1行").arg(lineNumber);
  return read && found;
}

bool StatementImport::Check(ImportCheck *check,
                            const ExchangeProgress &progress,
                            QString *error) {
  bool cancelled = false;
  if (CheckLines(check, progress, &cancelled, error))
    return true;
  if (cancelled)
    *error = QStringLiteral("已取消");
  return false;
}

bool StatementImport::CheckLines(ImportCheck *check,
                                 const ExchangeProgress &progress,
                                 bool *cancelled, QString *error) {
  *check = ImportCheck();
  *cancelled = false;
  if (!ValidGroup(error))
    return false;
  // Nothing is stored without the date and the amount the statement gives.
  if (const QString problem = MappingProblem(); !problem.isEmpty()) {
    *error = problem;
    return false;
  }
  // The rules count the lines of this check: the lines stored are those
  // the user ticked of them.
  rules_.ResetMatches();
  std::vector<BillFacts> facts;
  const bool bill = IsBill();
  const QString service = PaymentServiceIn(mapping_.channel);
  const QString billName = BillName();
  QStringList headers;
  int done = 0;
  const bool read = ReadStatement(
      path_, mapping_.format, &headers,
      [&](const SourceLine &line) {
        if (line.footer) {
          check->footerLines.append(line.lineNumber);
          return true;
        }
        CheckedLine checked;
        checked.lineNumber = line.lineNumber;
        QString note;
        QStringList texts;
        const bool converts =
            ConvertLine(line, &texts, &checked.reason, &checked.ruleSet, &note);
        checked.texts = texts;
        checked.state = converts ? LineState::New : LineState::Bad;
        checked.ticked = converts;
        if (converts)
          checked.reason = note;
        else {
          checked.texts.clear();
          checked.ruleSet.clear();
        }
        BillFacts fact = FactsOf(line, converts);
        checked.number = fact.number;
        // What a later bill may need to know of this line: its number, or
        // a payment made through a service with a card.
        const bool throughService =
            !PaymentServiceIn(fact.goods + fact.counterpart).isEmpty() ||
            (!service.isEmpty() && !fact.method.isEmpty());
        if (converts && (!fact.number.isEmpty() || throughService)) {
          auto seen = std::make_shared<SeenLine>();
          seen->number = fact.number;
          seen->merchant = fact.merchant;
          seen->counterpart = fact.counterpart;
          seen->method = fact.method;
          seen->goods = fact.goods;
          seen->bill = billName;
          seen->line = line.lineNumber;
          // The amount as the bill gives it, before refunds lower it.
          seen->amount = fact.amount;
          seen->side = fact.side == BillSide::Out  ? 1
                       : fact.side == BillSide::In ? 2
                                                   : 0;
          checked.seen = std::move(seen);
        }
        // A bill's lines are decided over the whole bill; a statement's
        // line by line.
        if (bill)
          facts.push_back(std::move(fact));
        else
          MarkOwnAccounts(fact, checked);
        check->lines.push_back(std::move(checked));
        if (progress && !progress(++done)) {
          *cancelled = true;
          return false;
        }
        return true;
      },
      error);
  if (*cancelled || !read)
    return false;
  // What earlier bills left in the file, read once for the whole check.
  CDBVisiter *session = file_.Session();
  const std::vector<SeenLine> before =
      session ? LoadSeenLines(*session) : std::vector<SeenLine>();
  DecideBillLines(facts, before, check->lines);
  for (size_t i = 0; i < facts.size(); ++i)
    MarkOwnAccounts(facts[i], check->lines[i]);
  facts.clear();
  facts.shrink_to_fit();
  for (CheckedLine &line : check->lines)
    FillSeen(file_.Columns(), mapping_, line);
  FindDuplicates(before, check->lines);
  for (const CheckedLine &line : check->lines) {
    if (line.state == LineState::Bad)
      check->bad.append({line.lineNumber, line.reason});
    else if (line.state != LineState::Skipped)
      ++check->good;
    if (line.state == LineState::Duplicate)
      check->duplicateLines.append(line.lineNumber);
  }
  return true;
}

int StatementImport::Store(const QSet<int> &includeDuplicates,
                           const ExchangeProgress &progress, bool *cancelled,
                           QString *error) {
  ImportCheck check;
  if (!CheckLines(&check, progress, cancelled, error))
    return *cancelled ? 0 : -1;
  QSet<int> ticked = check.TickedLines();
  for (const int line : check.duplicateLines)
    if (includeDuplicates.contains(line))
      ticked.insert(line);
  return Store(check, ticked, progress, cancelled, error);
}

int StatementImport::Store(const ImportCheck &check, const QSet<int> &ticked,
                           const ExchangeProgress &progress, bool *cancelled,
                           QString *error) {
  // What the parts of one import say is held, so that the user is told once.
  HeldMessages held;
  const int stored = StoreLines(check, ticked, progress, cancelled, error);
  if (stored < 0) {
    const QString failure = FailureOfWork(held.Texts(), QStringLiteral("导入未进行"));
    if (!failure.isEmpty())
      *error = failure;
    return stored;
  }
  held.Release();
  return stored;
}

int StatementImport::StoreLines(const ImportCheck &check, const QSet<int> &ticked,
                           const ExchangeProgress &progress, bool *cancelled,
                           QString *error) {
  *cancelled = false;
  CDBVisiter *session = file_.Session();
  if (!session) {
    *error = QStringLiteral("没有打开的账簿文件！");
    return -1;
  }
  if (!ValidGroup(error))
    return -1;
  GroupNode &group = *FindGroupNode(file_.Root(), groupId_);
  const int firstKey = group.largestKey;
  int key = firstKey;
  const RecordStart start = StartOfRecords(QDateTime::currentDateTime());
  CommandHistory &history = file_.History();
  auto stored = [&](const CheckedLine &line) {
    return line.state != LineState::Bad && ticked.contains(line.lineNumber);
  };
  const bool numbered =
      std::any_of(check.lines.cbegin(), check.lines.cend(),
                  [&](const CheckedLine &line) {
                    return stored(line) && !line.number.isEmpty();
                  });

  // One unit of work and one command group for the whole import, the
  // column that keeps the bills' numbers included.
  if (!session->BeginTransaction()) {
    *error = QStringLiteral("无法开始写入账簿文件！");
    return -1;
  }
  if (numbered && !HasBillNumberColumn(*session) &&
      !AddBillNumberColumn(*session)) {
    session->RollbackTransaction();
    *error = QStringLiteral("无法在账簿文件中添加交易单号列！");
    return -1;
  }
  const ColumnList columnsBefore = file_.Columns();
  if (!AddMethodOptions(check, ticked)) {
    session->RollbackTransaction();
    file_.Columns() = columnsBefore;
    *error = QStringLiteral("写入账簿文件失败！");
    return -1;
  }
  history.BeginGroup();
  std::vector<SeenLine> seenLines;
  int count = 0, done = 0;
  QList<CRowItem> batch;
  auto flush = [&] {
    if (!batch.isEmpty())
      count += history.AddRows(std::move(batch));
    batch = {};
  };
  // The line whose formulas gave no number; the import stops there.
  int notFiniteLine = 0;
  for (const CheckedLine &line : check.lines) {
    if (stored(line)) {
      bool finite = true;
      CRowItem record = MakeRecord(line.texts, ++key, start, &finite);
      if (!finite) {
        notFiniteLine = line.lineNumber;
        break;
      }
      if (!line.number.isEmpty())
        SetBillNumber(record, line.number);
      if (line.seen) {
        seenLines.push_back(*line.seen);
        seenLines.back().groupId = groupId_;
        seenLines.back().recordId = key;
      }
      batch.append(std::move(record));
      if (batch.size() >= kBatch)
        flush();
    }
    // A payment left out as refunded in full is remembered, so that its
    // refund in a later bill is left out too.
    else if (line.seen && line.state == LineState::Skipped &&
             line.reason == QStringLiteral("已全额退款")) {
      seenLines.push_back(*line.seen);
      seenLines.back().outcome = line.reason;
    }
    if (progress && !progress(++done)) {
      *cancelled = true;
      break;
    }
  }
  if (!*cancelled && notFiniteLine == 0)
    flush();
  bool seenStored = true;
  if (!*cancelled && notFiniteLine == 0 && !seenLines.empty())
    seenStored = AddSeenLines(*session, seenLines);
  if (notFiniteLine > 0)
    *error = QStringLiteral("第%1行：计算结果超出数值范围或无意义").arg(notFiniteLine);
  if (!seenStored)
    *error = QStringLiteral("写入账簿文件失败！");
  if (*cancelled || notFiniteLine > 0 || !seenStored) {
    history.DiscardGroup();
    session->RollbackTransaction();
    file_.Columns() = columnsBefore;
    group.largestKey = firstKey;
    return *cancelled ? 0 : -1;
  }
  // All lines or none: a group that could not be committed has been
  // undone, and rows shown meanwhile go when the pages reload.
  if (!history.EndGroup()) {
    session->RollbackTransaction();
    file_.Columns() = columnsBefore;
    group.largestKey = firstKey;
    *error = QStringLiteral("写入账簿文件失败！");
    return -1;
  }
  if (!session->CommitTransaction()) {
    file_.Columns() = columnsBefore;
    group.largestKey = firstKey;
    file_.Notify(HINT_RECORDS | HINT_PIE_SERIES | HINT_BAR_SERIES);
    *error = QStringLiteral("写入账簿文件失败！");
    return -1;
  }
  group.largestKey = key;
  if (file_.Columns().Options(file_.Columns().PositionOf(mapping_.methodField)) !=
      columnsBefore.Options(columnsBefore.PositionOf(mapping_.methodField)))
    file_.Notify(HINT_ALL);
  else if (count > 0)
    file_.Notify(HINT_RECORDS);
  return count;
}

bool StatementImport::AddMethodOptions(const ImportCheck &check,
                                       const QSet<int> &ticked) {
  const int position = file_.Columns().PositionOf(mapping_.methodField);
  if (position < 0 || file_.Columns().At(position).type != FT_OPTION)
    return true;
  ColumnDef column = file_.Columns().At(position);
  QStringList options = column.Choices();
  const qsizetype before = options.size();
  for (const CheckedLine &line : check.lines) {
    if (line.state == LineState::Bad || !ticked.contains(line.lineNumber) ||
        position >= line.texts.size())
      continue;
    const QString &name = line.texts.at(position);
    if (!name.isEmpty() && !options.contains(name))
      options.append(name);
  }
  if (options.size() == before)
    return true;
  column.options = options.join(QLatin1Char('|'));
  if (!UpdateColumn(*file_.Session(), column))
    return false;
  file_.Columns().Replace(position, column);
  return true;
}

bool StatementImport::SaveMapping() {
  return file_.Session() &&
         SaveImportMapping(*file_.Session(), Signature(), mapping_);
}

BillLayout StatementImport::LayoutOfMapping(const QString &name) const {
  const ColumnList &columns = file_.Columns();
  QHash<QString, BillRole> roles;
  auto give = [&](const QString &source, BillRole role) {
    if (!source.isEmpty() && !roles.contains(source.trimmed()))
      roles.insert(source.trimmed(), role);
  };
  for (const auto &[field, source] : mapping_.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0)
      continue;
    if (IsDatePickerType(columns.At(position).type))
      give(source, BillRole::Date);
  }
  give(mapping_.timeColumn, BillRole::Time);
  give(mapping_.postedColumn, BillRole::Posted);
  give(mapping_.directionColumn, BillRole::Direction);
  give(mapping_.amountColumn, BillRole::Amount);
  give(mapping_.debitColumn, BillRole::Debit);
  give(mapping_.creditColumn, BillRole::Credit);
  give(mapping_.flagColumn, BillRole::Flag);
  give(mapping_.currencyColumn, BillRole::Currency);
  give(mapping_.originalColumn, BillRole::Original);
  give(mapping_.counterpartColumn, BillRole::Counterpart);
  give(mapping_.goodsColumn, BillRole::Goods);
  give(mapping_.SourceOf(mapping_.methodField), BillRole::Method);
  give(mapping_.statusColumn, BillRole::Status);
  give(mapping_.kindColumn, BillRole::Kind);
  give(mapping_.numberColumn, BillRole::Number);
  give(mapping_.merchantColumn, BillRole::Merchant);
  give(mapping_.refundedColumn, BillRole::Refunded);
  give(mapping_.SourceOf(mapping_.remarkField), BillRole::Remark);
  // The other mapped columns keep their place in the header.
  for (const auto &[field, source] : mapping_.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0)
      continue;
    const int type = columns.At(position).type;
    if (IsTimeOnlyType(type))
      give(source, BillRole::Time);
    else if (type == FT_TEXT || type == FT_MEMO)
      give(source, BillRole::Goods);
  }
  BillLayout layout;
  layout.name = name.trimmed();
  switch (mapping_.format.kind) {
  case StatementKind::Xlsx:
    layout.sources = {BillSource::Xlsx};
    break;
  case StatementKind::Xls:
    layout.sources = {BillSource::Xls};
    break;
  default:
    layout.sources = {BillSource::Csv};
    layout.encoding = mapping_.format.encoding;
  }
  layout.channel = mapping_.channel;
  layout.rowsEnd = mapping_.format.rowsEnd;
  layout.flagOut = mapping_.flagOut;
  layout.flagIn = mapping_.flagIn;
  layout.side = !mapping_.directionColumn.isEmpty() ? BillSideForm::Direction
                : mapping_.UsesDebitCredit()        ? BillSideForm::DebitCredit
                : !mapping_.flagColumn.isEmpty()    ? BillSideForm::Flag
                : mapping_.spendingPositive         ? BillSideForm::CreditCard
                                                    : BillSideForm::Signed;
  for (const QString &header : headers_) {
    if (header.trimmed().isEmpty())
      continue;
    layout.columns.append({header.trimmed(),
                           roles.value(header.trimmed(), BillRole::Other),
                           false});
  }
  return layout;
}

bool StatementImport::SaveAsLayout(const QString &name, QString *error) {
  if (mapping_.format.kind == StatementKind::Ofx) {
    *error = QStringLiteral("OFX 对账单无需保存账单格式");
    return false;
  }
  if (const QString problem = MappingProblem(); !problem.isEmpty()) {
    *error = problem;
    return false;
  }
  const BillLayout layout = LayoutOfMapping(name);
  if (!SaveUserLayout(layout, error))
    return false;
  layout_ = layout;
  layout_->user = true;
  return true;
}
