// Import mappings: guessing, saving and loading; see import_mapping.h.
#include "exchange/import_mapping.h"

#include "exchange/bill_layouts.h"
#include "exchange/bill_roles.h"
#include "exchange/statement_values.h"
#include "groups/filter_set.h"
#include "groups/filter_set_store.h"
#include "model/column_list.h"
#include "model/side_column.h"
#include "model/field_type.h"

namespace {

// Condition kinds of a saved mapping.
constexpr int kFieldKind = 15;   // fieldName = target, texts = {source}
constexpr int kSettingKind = 16; // fieldName = setting, texts = {value}

bool IsDateType(int type) {
  return type == FT_DATE || type == FT_AUTODATE || type == FT_DATETIME;
}

bool IsTextOrMemo(int type) { return type == FT_TEXT || type == FT_MEMO; }

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

// Sets the date form and the decimal separator from the sample values of
// the mapped columns.
void DetectForms(ImportMapping &mapping, const ColumnList &columns,
                 const QStringList &headers,
                 const std::vector<SourceLine> &sample) {
  QStringList dates, amounts;
  for (const auto &[field, source] : mapping.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0)
      continue;
    const int type = columns.At(position).type;
    const QStringList values = ColumnValues(sample, ColumnIndex(headers, source));
    if (IsDateType(type))
      dates += values;
    else if (type == FT_FLOAT || type == FT_INTEGER)
      amounts += values;
  }
  for (const QString &source :
       {mapping.amountColumn, mapping.debitColumn, mapping.creditColumn})
    if (!source.isEmpty())
      amounts += ColumnValues(sample, ColumnIndex(headers, source));
  if (mapping.format.kind == StatementKind::Ofx)
    dates = ColumnValues(sample, 0);
  const QStringList forms = DetectDateForms(dates);
  if (!forms.isEmpty())
    mapping.dateForm = forms.first();
  mapping.decimalComma = DetectDecimalComma(amounts);
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
      {"timeColumn", &ImportMapping::timeColumn},
      {"postedColumn", &ImportMapping::postedColumn},
      {"goodsColumn", &ImportMapping::goodsColumn},
      {"flagColumn", &ImportMapping::flagColumn},
      {"methodField", &ImportMapping::methodField},
      {"channel", &ImportMapping::channel},
      {"currencyColumn", &ImportMapping::currencyColumn},
      {"originalColumn", &ImportMapping::originalColumn},
      {"remarkField", &ImportMapping::remarkField},
  };
  return settings;
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
         refundedColumn == other.refundedColumn &&
         timeColumn == other.timeColumn && postedColumn == other.postedColumn &&
         goodsColumn == other.goodsColumn &&
         flagColumn == other.flagColumn &&
         flagOut == other.flagOut && flagIn == other.flagIn &&
         spendingPositive == other.spendingPositive &&
         methodField == other.methodField && channel == other.channel &&
         currencyColumn == other.currencyColumn &&
         originalColumn == other.originalColumn &&
         remarkField == other.remarkField;
}

bool ImportMapping::HasAmount(const ColumnList &columns) const {
  if (columns.PositionOf(amountField) >= 0 &&
      (!amountColumn.isEmpty() || UsesDebitCredit()))
    return true;
  for (const auto &[field, source] : fields) {
    const int position = columns.PositionOf(field);
    if (position >= 0 && (columns.At(position).type == FT_FLOAT ||
                          columns.At(position).type == FT_INTEGER))
      return true;
  }
  return false;
}

bool ImportMapping::HasDate(const ColumnList &columns) const {
  for (const auto &[field, source] : fields) {
    const int position = columns.PositionOf(field);
    if (position >= 0 && IsDateType(columns.At(position).type))
      return true;
  }
  return false;
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
      {"rowsEnd", format.rowsEnd.join(QLatin1Char('|'))},
      {"flagOut", mapping.flagOut.join(QLatin1Char('|'))},
      {"flagIn", mapping.flagIn.join(QLatin1Char('|'))},
      {"spendingPositive", mapping.spendingPositive ? "1" : "0"},
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
        loaded.format.rowsEnd = value.split(QLatin1Char('|'), Qt::SkipEmptyParts);
      else if (name == QLatin1String("flagOut"))
        loaded.flagOut = value.split(QLatin1Char('|'), Qt::SkipEmptyParts);
      else if (name == QLatin1String("flagIn"))
        loaded.flagIn = value.split(QLatin1Char('|'), Qt::SkipEmptyParts);
      else if (name == QLatin1String("spendingPositive"))
        loaded.spendingPositive = value == QLatin1String("1");
      for (const BillSetting &setting : BillSettings())
        if (name == QLatin1String(setting.name))
          loaded.*setting.member = value;
    }
    *mapping = loaded;
    return true;
  }
  return false;
}

ImportMapping BillImportMapping(const BillLayout &layout,
                                const ColumnList &columns,
                                const StatementFormat &format,
                                const QStringList &headers,
                                const std::vector<SourceLine> &sample,
                                const QString &card, ImportMapping base) {
  ImportMapping mapping = std::move(base);
  mapping.format = format;
  // The header as the file writes it of a role, when the file has it.
  auto header = [&](BillRole role) {
    const QString name = layout.HeaderOf(role);
    const qsizetype index = ColumnIndex(headers, name);
    return index >= 0 ? headers.at(index) : QString();
  };
  auto map = [&](const ColumnDef *column, const QString &source) {
    if (column && !source.isEmpty())
      mapping.Map(column->fieldName, source);
  };
  auto mapRole = [&](const ColumnDef *column, BillRole role) {
    map(column, header(role));
  };
  const QString date =
      header(BillRole::Date).isEmpty() ? header(BillRole::Posted)
                                       : header(BillRole::Date);
  mapping.timeColumn = header(BillRole::Time);
  if (!header(BillRole::Date).isEmpty())
    mapping.postedColumn = header(BillRole::Posted);
  map(FirstFree(columns, mapping, IsDateColumn), date);
  map(FirstFree(columns, mapping, IsTimeColumn),
      mapping.timeColumn.isEmpty() ? date : mapping.timeColumn);
  if (const ColumnDef *direction = SideColumnOf(columns))
    if (mapping.SourceOf(direction->fieldName).isEmpty())
      mapping.directionField = direction->fieldName;
  const ColumnDef *method = FreeTitled(
      columns, mapping, {QStringLiteral("支付方式"), QStringLiteral("付款方式")},
      [](const ColumnDef &c) { return IsOption(c) || IsText(c); });
  mapRole(method, BillRole::Method);
  if (method) {
    mapping.methodField = method->fieldName;
    mapping.channel = layout.channel;
    mapping.channel.replace(QStringLiteral("({card})"),
                            card.isEmpty() ? QString() : QStringLiteral("(%1)").arg(card));
    mapping.channel.replace(QStringLiteral("{card}"), card);
  }
  const QString counterpartHeader = header(BillRole::Counterpart);
  if (!counterpartHeader.isEmpty()) {
    const ColumnDef *counterpart = FreeTitled(
        columns, mapping, {QStringLiteral("交易对方"), QStringLiteral("对方")},
        IsTextOrMemoColumn);
    map(counterpart ? counterpart : FirstFree(columns, mapping, IsText),
        counterpartHeader);
  }
  const QString goodsHeader = header(BillRole::Goods);
  if (!goodsHeader.isEmpty()) {
    const ColumnDef *goods = FreeTitled(
        columns, mapping,
        {QStringLiteral("商品"), QStringLiteral("商品说明"),
         QStringLiteral("商品名称"), QStringLiteral("摘要")},
        IsTextOrMemoColumn);
    if (!goods)
      goods = FirstFree(columns, mapping, IsText);
    if (!goods)
      goods = FirstFree(columns, mapping, IsTextOrMemoColumn);
    map(goods, goodsHeader);
  }
  const ColumnDef *remark =
      FreeTitled(columns, mapping, {QStringLiteral("备注")}, IsTextOrMemoColumn);
  if (remark)
    mapping.remarkField = remark->fieldName;
  mapRole(remark, BillRole::Remark);
  switch (layout.side) {
  case BillSideForm::Direction:
    mapping.directionColumn = header(BillRole::Direction);
    mapping.amountColumn = header(BillRole::Amount);
    break;
  case BillSideForm::DebitCredit:
    mapping.debitColumn = header(BillRole::Debit);
    mapping.creditColumn = header(BillRole::Credit);
    break;
  case BillSideForm::Flag:
    mapping.amountColumn = header(BillRole::Amount);
    mapping.flagColumn = header(BillRole::Flag);
    mapping.flagOut = layout.flagOut;
    mapping.flagIn = layout.flagIn;
    break;
  case BillSideForm::CreditCard:
    mapping.spendingPositive = true;
    mapping.amountColumn = header(BillRole::Amount);
    break;
  case BillSideForm::Signed:
    mapping.amountColumn = header(BillRole::Amount);
    break;
  }
  if (mapping.amountColumn.isEmpty() && !mapping.UsesDebitCredit())
    mapping.amountColumn = header(BillRole::Amount);
  if (!mapping.amountColumn.isEmpty() || mapping.UsesDebitCredit()) {
    if (const ColumnDef *amount = FirstFree(columns, mapping, IsPlainNumber))
      mapping.amountField = amount->fieldName;
  }
  if (mapping.amountField.isEmpty()) {
    mapping.amountColumn = mapping.debitColumn = mapping.creditColumn = {};
    mapping.flagColumn = {};
  }
  mapping.statusColumn = header(BillRole::Status);
  mapping.kindColumn = header(BillRole::Kind);
  mapping.numberColumn = header(BillRole::Number);
  mapping.merchantColumn = header(BillRole::Merchant);
  mapping.counterpartColumn = counterpartHeader;
  mapping.goodsColumn = goodsHeader;
  mapping.refundedColumn = header(BillRole::Refunded);
  mapping.currencyColumn = header(BillRole::Currency);
  mapping.originalColumn = header(BillRole::Original);
  DetectForms(mapping, columns, headers, sample);
  return mapping;
}

ImportMapping GuessImportMapping(const ColumnList &columns,
                                 const StatementFormat &format,
                                 const QStringList &headers,
                                 const std::vector<SourceLine> &sample,
                                 const QString &headText) {
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
  // A column that names the ledger's side column, or a plain amount when
  // a side column exists, is read as a bill's: the side comes from it.
  const ColumnDef *direction = SideColumnOf(columns);
  for (const auto &[header, column] : exact) {
    const bool number = column->type == FT_FLOAT || column->type == FT_INTEGER;
    const bool computed = number && !IsPlainNumber(*column);
    if ((computed && !namesPlainNumber) || column == direction ||
        (direction && number && IsPlainNumber(*column))) {
      unmatched.append(header);
      continue;
    }
    if (column->type != FT_KEY && mapping.SourceOf(column->fieldName).isEmpty())
      mapping.Map(column->fieldName, header);
  }
  BillLayout layout = InferBillLayout(headers, sample, headText);
  for (BillColumn &column : layout.columns)
    if (ColumnIndex(unmatched, column.header) < 0)
      column.role = BillRole::Other;
  if (direction)
    for (BillColumn &column : layout.columns)
      if (ColumnIndex(unmatched, column.header) >= 0 &&
          (!column.header.compare(direction->title, Qt::CaseInsensitive) ||
           !column.header.compare(direction->fieldName, Qt::CaseInsensitive)))
        column.role = BillRole::Direction;
  if (layout.side != BillSideForm::Direction &&
      !layout.HeaderOf(BillRole::Direction).isEmpty())
    layout.side = BillSideForm::Direction;
  return BillImportMapping(layout, columns, format, headers, sample, QString(),
                           mapping);
}
