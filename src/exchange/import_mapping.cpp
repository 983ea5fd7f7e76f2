// Import mappings: guessing, saving and loading; see import_mapping.h.
#include "exchange/import_mapping.h"

#include "exchange/bill_layouts.h"
#include "exchange/statement_values.h"
#include "groups/filter_set.h"
#include "groups/filter_set_store.h"
#include "model/column_list.h"
#include "model/field_type.h"

namespace {

// Condition kinds of a saved mapping.
constexpr int kFieldKind = 15;   // fieldName = target, texts = {source}
constexpr int kSettingKind = 16; // fieldName = setting, texts = {value}

bool IsDateType(int type) {
  return type == FT_DATE || type == FT_AUTODATE || type == FT_DATETIME;
}

bool IsTextOrMemo(int type) { return type == FT_TEXT || type == FT_MEMO; }

bool Contains(const QStringList &names, const QString &header) {
  return names.contains(header.trimmed(), Qt::CaseInsensitive);
}

const QStringList &DateNames() {
  static const QStringList names{"日期", "交易日期", "记账日期", "入账日期",
                                 "交易时间", "date", "posted", "booking date",
                                 "transaction date", "datum", "buchungstag"};
  return names;
}
const QStringList &AmountNames() {
  static const QStringList names{"金额", "交易金额", "发生额", "amount",
                                 "betrag", "value"};
  return names;
}
const QStringList &DebitNames() {
  static const QStringList names{"支出", "支出金额", "借方", "借方金额",
                                 "debit", "withdrawal", "soll"};
  return names;
}
const QStringList &CreditNames() {
  static const QStringList names{"收入", "收入金额", "存入", "贷方",
                                 "贷方金额", "credit", "deposit", "haben"};
  return names;
}
const QStringList &TextNames() {
  static const QStringList names{"摘要", "备注", "说明", "用途", "名称",
                                 "交易摘要", "对方户名", "交易对方", "memo",
                                 "description", "name", "payee",
                                 "verwendungszweck"};
  return names;
}

// The first column of a fitting type not mapped yet, or null.
const ColumnDef *FirstFree(const ColumnList &columns,
                           const ImportMapping &mapping,
                           bool (*fits)(const ColumnDef &)) {
  for (const ColumnDef &column : columns.All()) {
    if (column.type == FT_KEY || !fits(column))
      continue;
    if (mapping.SourceOf(column.fieldName).isEmpty() &&
        mapping.amountField.compare(column.fieldName, Qt::CaseInsensitive))
      return &column;
  }
  return nullptr;
}

// A number column that is filled by hand (its default is no formula).
bool IsPlainNumber(const ColumnDef &column) {
  if (column.type != FT_FLOAT && column.type != FT_INTEGER)
    return false;
  bool number = false;
  column.defaultValue.trimmed().toDouble(&number);
  return column.defaultValue.trimmed().isEmpty() || number;
}

QStringList ColumnValues(const std::vector<SourceLine> &sample,
                         qsizetype index) {
  QStringList values;
  for (const SourceLine &line : sample)
    if (index >= 0 && index < line.fields.size())
      values.append(line.fields.at(index));
  return values;
}

// The settings a mapping saved by an older build does not have; they stay
// empty when it loads.
struct BillSetting {
  const char *name;
  QString ImportMapping::*member;
};

const QList<BillSetting> &BillSettings() {
  static const QList<BillSetting> settings{
      {"directionField", &ImportMapping::directionField},
      {"directionColumn", &ImportMapping::directionColumn},
      {"statusColumn", &ImportMapping::statusColumn},
      {"kindColumn", &ImportMapping::kindColumn},
      {"numberColumn", &ImportMapping::numberColumn},
      {"merchantColumn", &ImportMapping::merchantColumn},
      {"counterpartColumn", &ImportMapping::counterpartColumn},
      {"refundedColumn", &ImportMapping::refundedColumn},
  };
  return settings;
}

// The usual names of the columns of a bill that decide what a line
// becomes, for a bill of a layout not known.
struct BillColumnNames {
  QStringList names;
  QString ImportMapping::*member;
};

const QList<BillColumnNames> &BillColumnGuesses() {
  static const QList<BillColumnNames> guesses{
      {{"收/支", "收支", "收支类型", "资金方向"}, &ImportMapping::directionColumn},
      {{"交易状态", "当前状态", "状态"}, &ImportMapping::statusColumn},
      {{"交易订单号", "交易单号", "交易号", "交易流水号", "流水号"},
       &ImportMapping::numberColumn},
      {{"商家订单号", "商户单号", "商户订单号"}, &ImportMapping::merchantColumn},
      {{"交易分类", "交易类型", "类型"}, &ImportMapping::kindColumn},
  };
  return guesses;
}

// Takes header as a bill's column of its kind; false when it is none.
bool TakeBillColumn(const QString &header, ImportMapping &mapping) {
  for (const BillColumnNames &guess : BillColumnGuesses()) {
    if (!Contains(guess.names, header))
      continue;
    QString &column = mapping.*guess.member;
    if (column.isEmpty())
      column = header;
    return true;
  }
  return false;
}

// A free column of a fitting type captioned (or named) one of titles.
const ColumnDef *FreeTitled(const ColumnList &columns,
                            const ImportMapping &mapping,
                            const QStringList &titles,
                            bool (*fits)(const ColumnDef &)) {
  for (const ColumnDef &column : columns.All())
    if (fits(column) && mapping.SourceOf(column.fieldName).isEmpty() &&
        (titles.contains(column.title) ||
         titles.contains(column.fieldName, Qt::CaseInsensitive)))
      return &column;
  return nullptr;
}

bool IsText(const ColumnDef &column) { return column.type == FT_TEXT; }
bool IsTextOrMemoColumn(const ColumnDef &column) {
  return IsTextOrMemo(column.type);
}
bool IsDateColumn(const ColumnDef &column) { return IsDateType(column.type); }
bool IsTimeColumn(const ColumnDef &column) {
  return column.type == FT_TIME || column.type == FT_AUTOTIME;
}
bool IsOption(const ColumnDef &column) { return column.type == FT_OPTION; }

} // namespace

QString ImportMapping::SourceOf(const QString &fieldName) const {
  for (const auto &[field, source] : fields)
    if (!field.compare(fieldName, Qt::CaseInsensitive))
      return source;
  return {};
}

void ImportMapping::Map(const QString &fieldName, const QString &source) {
  for (qsizetype i = 0; i < fields.size(); ++i) {
    if (fields[i].first.compare(fieldName, Qt::CaseInsensitive))
      continue;
    if (source.isEmpty())
      fields.removeAt(i);
    else
      fields[i].second = source;
    return;
  }
  if (!source.isEmpty())
    fields.append({fieldName, source});
}

bool ImportMapping::operator==(const ImportMapping &other) const {
  return format.kind == other.format.kind &&
         format.encoding == other.format.encoding &&
         format.delimiter == other.format.delimiter &&
         format.skipLines == other.format.skipLines &&
         format.hasHeader == other.format.hasHeader && fields == other.fields &&
         amountField == other.amountField &&
         amountColumn == other.amountColumn &&
         debitColumn == other.debitColumn &&
         creditColumn == other.creditColumn && negate == other.negate &&
         dateForm == other.dateForm && decimalComma == other.decimalComma &&
         format.rowsEnd == other.format.rowsEnd &&
         directionField == other.directionField &&
         directionColumn == other.directionColumn &&
         statusColumn == other.statusColumn &&
         kindColumn == other.kindColumn &&
         numberColumn == other.numberColumn &&
         merchantColumn == other.merchantColumn &&
         counterpartColumn == other.counterpartColumn &&
         refundedColumn == other.refundedColumn;
}

namespace {

// The delimiter by name: a saved set's title does not take every
// character as it is.
QString DelimiterName(char delimiter) {
  switch (delimiter) {
  case ',':
    return QStringLiteral("comma");
  case ';':
    return QStringLiteral("semicolon");
  case '\t':
    return QStringLiteral("tab");
  default:
    return QString::number(int(delimiter));
  }
}

} // namespace

QString StatementSignature(const StatementFormat &format,
                           const QStringList &headers) {
  if (format.kind == StatementKind::Ofx)
    return QStringLiteral("OFX");
  QStringList names;
  for (const QString &header : headers)
    names.append(header.trimmed());
  if (format.kind == StatementKind::Xlsx)
    return QStringLiteral("XLSX:") + names.join(QLatin1Char('|'));
  // Comma-separated UTF-8 keeps the form older builds saved mappings under.
  QString kind = QStringLiteral("CSV");
  if (format.delimiter != ',' || format.encoding != QLatin1String("UTF-8"))
    kind += QStringLiteral("(%1 %2)")
                .arg(DelimiterName(format.delimiter), format.encoding);
  return kind + QLatin1Char(':') + names.join(QLatin1Char('|'));
}

bool SaveImportMapping(CDBVisiter &session, const QString &signature,
                       const ImportMapping &mapping) {
  FilterSet set;
  set.classId = FSC_IMPORT_MAPPING;
  set.title = signature;
  for (const FilterSet &saved : LoadFilterSets(session, FSC_IMPORT_MAPPING))
    if (saved.title == signature)
      set.id = saved.id;
  for (const auto &[field, source] : mapping.fields) {
    FilterCondition condition;
    condition.kind = kFieldKind;
    condition.fieldName = field;
    condition.texts = {source};
    set.conditions.append(condition);
  }
  const StatementFormat &format = mapping.format;
  const QList<QPair<QString, QString>> settings{
      {"amountField", mapping.amountField},
      {"amountColumn", mapping.amountColumn},
      {"debitColumn", mapping.debitColumn},
      {"creditColumn", mapping.creditColumn},
      {"negate", mapping.negate ? "1" : "0"},
      {"dateForm", mapping.dateForm},
      {"decimalComma", mapping.decimalComma ? "1" : "0"},
      {"encoding", format.encoding},
      {"delimiter", QString(QLatin1Char(format.delimiter))},
      {"skipLines", QString::number(format.skipLines)},
      {"hasHeader", format.hasHeader ? "1" : "0"},
      {"rowsEnd", format.rowsEnd},
  };
  QList<QPair<QString, QString>> all = settings;
  for (const BillSetting &setting : BillSettings())
    all.append({QString::fromLatin1(setting.name), mapping.*setting.member});
  for (const auto &[name, value] : all) {
    FilterCondition condition;
    condition.kind = kSettingKind;
    condition.fieldName = name;
    condition.texts = {value};
    set.conditions.append(condition);
  }
  return SaveFilterSet(session, set);
}

bool LoadImportMapping(CDBVisiter &session, const QString &signature,
                       ImportMapping *mapping) {
  for (const FilterSet &set : LoadFilterSets(session, FSC_IMPORT_MAPPING)) {
    if (set.title != signature)
      continue;
    ImportMapping loaded;
    loaded.format = mapping->format;
    for (const FilterCondition &condition : set.conditions) {
      const QString value = condition.texts.value(0);
      if (condition.kind == kFieldKind) {
        loaded.fields.append({condition.fieldName, value});
        continue;
      }
      const QString &name = condition.fieldName;
      if (name == QLatin1String("amountField"))
        loaded.amountField = value;
      else if (name == QLatin1String("amountColumn"))
        loaded.amountColumn = value;
      else if (name == QLatin1String("debitColumn"))
        loaded.debitColumn = value;
      else if (name == QLatin1String("creditColumn"))
        loaded.creditColumn = value;
      else if (name == QLatin1String("negate"))
        loaded.negate = value == QLatin1String("1");
      else if (name == QLatin1String("dateForm"))
        loaded.dateForm = value;
      else if (name == QLatin1String("decimalComma"))
        loaded.decimalComma = value == QLatin1String("1");
      else if (name == QLatin1String("encoding") && !value.isEmpty())
        loaded.format.encoding = value;
      else if (name == QLatin1String("delimiter") && value.size() == 1)
        loaded.format.delimiter = char(value.at(0).toLatin1());
      else if (name == QLatin1String("skipLines"))
        loaded.format.skipLines = value.toInt();
      else if (name == QLatin1String("hasHeader"))
        loaded.format.hasHeader = value == QLatin1String("1");
      else if (name == QLatin1String("rowsEnd"))
        loaded.format.rowsEnd = value;
      for (const BillSetting &setting : BillSettings())
        if (name == QLatin1String(setting.name))
          loaded.*setting.member = value;
    }
    *mapping = loaded;
    return true;
  }
  return false;
}

const ColumnDef *DirectionColumnOf(const ColumnList &columns) {
  for (const ColumnDef &column : columns.All()) {
    if (column.type != FT_OPTION)
      continue;
    const QStringList options = column.Choices();
    if (options.contains(QStringLiteral("支出")) &&
        options.contains(QStringLiteral("收入")))
      return &column;
  }
  return nullptr;
}

ImportMapping BillImportMapping(const BillLayout &layout,
                                const ColumnList &columns,
                                const StatementFormat &format,
                                const QStringList &headers,
                                const std::vector<SourceLine> &sample) {
  ImportMapping mapping;
  mapping.format = format;
  // The header as the file writes it (perhaps padded) of a role.
  auto header = [&](BillRole role) {
    const QString name = layout.HeaderOf(role);
    for (const QString &written : headers)
      if (!name.isEmpty() && written.trimmed() == name)
        return written;
    return QString();
  };
  auto map = [&](const ColumnDef *column, BillRole role) {
    if (column && !header(role).isEmpty())
      mapping.Map(column->fieldName, header(role));
  };
  map(FirstFree(columns, mapping, IsDateColumn), BillRole::Time);
  map(FirstFree(columns, mapping, IsTimeColumn), BillRole::Time);
  if (const ColumnDef *direction = DirectionColumnOf(columns))
    mapping.directionField = direction->fieldName;
  mapping.directionColumn = header(BillRole::Direction);
  map(FreeTitled(columns, mapping, {QStringLiteral("支付方式")}, IsOption),
      BillRole::Method);
  const ColumnDef *counterpart =
      FreeTitled(columns, mapping, {QStringLiteral("交易对方"),
                                    QStringLiteral("对方")}, IsTextOrMemoColumn);
  map(counterpart ? counterpart : FirstFree(columns, mapping, IsText),
      BillRole::Counterpart);
  const ColumnDef *goods = FreeTitled(
      columns, mapping,
      {QStringLiteral("商品"), QStringLiteral("商品说明"),
       QStringLiteral("商品名称"), QStringLiteral("摘要")},
      IsTextOrMemoColumn);
  if (!goods)
    goods = FirstFree(columns, mapping, IsText);
  if (!goods)
    goods = FirstFree(columns, mapping, IsTextOrMemoColumn);
  map(goods, BillRole::Goods);
  map(FreeTitled(columns, mapping, {QStringLiteral("备注")}, IsTextOrMemoColumn),
      BillRole::Remark);
  mapping.amountColumn = header(BillRole::Amount);
  if (mapping.amountColumn.isEmpty()) {
    mapping.debitColumn = header(BillRole::Debit);
    mapping.creditColumn = header(BillRole::Credit);
  }
  if (const ColumnDef *amount = FirstFree(columns, mapping, IsPlainNumber))
    mapping.amountField = amount->fieldName;
  mapping.statusColumn = header(BillRole::Status);
  mapping.kindColumn = header(BillRole::Kind);
  mapping.numberColumn = header(BillRole::Number);
  mapping.merchantColumn = header(BillRole::Merchant);
  mapping.counterpartColumn = header(BillRole::Counterpart);
  mapping.refundedColumn = header(BillRole::Refunded);
  const QStringList forms =
      DetectDateForms(ColumnValues(sample, headers.indexOf(header(BillRole::Time))));
  if (!forms.isEmpty())
    mapping.dateForm = forms.first();
  return mapping;
}

ImportMapping GuessImportMapping(const ColumnList &columns,
                                 const StatementFormat &format,
                                 const QStringList &headers,
                                 const std::vector<SourceLine> &sample) {
  ImportMapping mapping;
  mapping.format = format;
  // Headers named like a field or its caption. A statement's "金额" that
  // names a computed column (a formula) is taken as the amount instead,
  // unless the statement also names a plain number column: then it is one
  // of our own exports and every column goes back where it came from.
  std::vector<std::pair<QString, const ColumnDef *>> exact;
  QStringList unmatched;
  bool namesPlainNumber = false;
  for (const QString &header : headers) {
    const QString name = header.trimmed();
    const ColumnDef *match = nullptr;
    for (const ColumnDef &column : columns.All())
      if (!column.fieldName.compare(name, Qt::CaseInsensitive) ||
          !column.title.compare(name, Qt::CaseInsensitive))
        match = match ? match : &column;
    if (!match) {
      unmatched.append(header);
      continue;
    }
    exact.emplace_back(header, match);
    namesPlainNumber = namesPlainNumber || IsPlainNumber(*match);
  }
  for (const auto &[header, column] : exact) {
    const bool computed = (column->type == FT_FLOAT ||
                           column->type == FT_INTEGER) &&
                          !IsPlainNumber(*column);
    if (computed && !namesPlainNumber && Contains(AmountNames(), header)) {
      unmatched.append(header);
      continue;
    }
    if (column->type != FT_KEY && mapping.SourceOf(column->fieldName).isEmpty())
      mapping.Map(column->fieldName, header);
  }
  // Usual bank names.
  for (const QString &header : unmatched) {
    if (TakeBillColumn(header, mapping))
      continue;
    if (Contains(DateNames(), header)) {
      if (const ColumnDef *column = FirstFree(
              columns, mapping,
              [](const ColumnDef &c) { return IsDateType(c.type); }))
        mapping.Map(column->fieldName, header);
    } else if (Contains(AmountNames(), header) &&
               mapping.amountColumn.isEmpty() && !mapping.UsesDebitCredit()) {
      mapping.amountColumn = header;
    } else if (Contains(DebitNames(), header) && mapping.debitColumn.isEmpty() &&
               mapping.amountColumn.isEmpty()) {
      mapping.debitColumn = header;
    } else if (Contains(CreditNames(), header) &&
               mapping.creditColumn.isEmpty() && mapping.amountColumn.isEmpty()) {
      mapping.creditColumn = header;
    } else if (Contains(TextNames(), header)) {
      const ColumnDef *column = FirstFree(
          columns, mapping, [](const ColumnDef &c) { return c.type == FT_TEXT; });
      if (!column)
        column = FirstFree(columns, mapping,
                           [](const ColumnDef &c) { return IsTextOrMemo(c.type); });
      if (column)
        mapping.Map(column->fieldName, header);
    }
  }
  if (!mapping.amountColumn.isEmpty() || mapping.UsesDebitCredit())
    if (const ColumnDef *column = FirstFree(columns, mapping, IsPlainNumber))
      mapping.amountField = column->fieldName;
  if (mapping.amountField.isEmpty())
    mapping.amountColumn = mapping.debitColumn = mapping.creditColumn = {};
  else if (const ColumnDef *direction = DirectionColumnOf(columns))
    if (mapping.SourceOf(direction->fieldName).isEmpty())
      mapping.directionField = direction->fieldName;

  // Date form and decimal separator from the sample.
  QStringList dates, amounts;
  for (const auto &[field, source] : mapping.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0)
      continue;
    const int type = columns.At(position).type;
    const QStringList values = ColumnValues(sample, headers.indexOf(source));
    if (IsDateType(type))
      dates += values;
    else if (type == FT_FLOAT || type == FT_INTEGER)
      amounts += values;
  }
  for (const QString &source :
       {mapping.amountColumn, mapping.debitColumn, mapping.creditColumn})
    if (!source.isEmpty())
      amounts += ColumnValues(sample, headers.indexOf(source));
  if (format.kind == StatementKind::Ofx)
    dates = ColumnValues(sample, 0);
  const QStringList forms = DetectDateForms(dates);
  if (!forms.isEmpty())
    mapping.dateForm = forms.first();
  mapping.decimalComma = DetectDecimalComma(amounts);
  return mapping;
}
