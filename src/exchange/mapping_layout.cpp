// The layout a mapping reads; see mapping_layout.h.
#include "exchange/mapping_layout.h"

#include "exchange/import_mapping.h"
#include "model/column_list.h"
#include "model/field_type.h"
#include "records/record_cell_text.h"

#include <QHash>

namespace {

// The roles of the statement's columns as mapping gives them.
QHash<QString, BillRole> RolesOf(const ColumnList &columns,
                                 const ImportMapping &mapping) {
  QHash<QString, BillRole> roles;
  auto give = [&](const QString &source, BillRole role) {
    if (!source.isEmpty() && !roles.contains(source.trimmed()))
      roles.insert(source.trimmed(), role);
  };
  for (const auto &[field, source] : mapping.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0)
      continue;
    if (IsDatePickerType(columns.At(position).type))
      give(source, BillRole::Date);
  }
  give(mapping.timeColumn, BillRole::Time);
  give(mapping.postedColumn, BillRole::Posted);
  give(mapping.directionColumn, BillRole::Direction);
  give(mapping.amountColumn, BillRole::Amount);
  give(mapping.debitColumn, BillRole::Debit);
  give(mapping.creditColumn, BillRole::Credit);
  give(mapping.flagColumn, BillRole::Flag);
  give(mapping.currencyColumn, BillRole::Currency);
  give(mapping.originalColumn, BillRole::Original);
  give(mapping.counterpartColumn, BillRole::Counterpart);
  give(mapping.goodsColumn, BillRole::Goods);
  give(mapping.SourceOf(mapping.methodField), BillRole::Method);
  give(mapping.statusColumn, BillRole::Status);
  give(mapping.kindColumn, BillRole::Kind);
  give(mapping.numberColumn, BillRole::Number);
  give(mapping.merchantColumn, BillRole::Merchant);
  give(mapping.refundedColumn, BillRole::Refunded);
  give(mapping.SourceOf(mapping.remarkField), BillRole::Remark);
  // The other mapped columns keep their place in the header.
  for (const auto &[field, source] : mapping.fields) {
    const int position = columns.PositionOf(field);
    if (position < 0)
      continue;
    const int type = columns.At(position).type;
    if (IsTimeOnlyType(type))
      give(source, BillRole::Time);
    else if (type == FT_TEXT || type == FT_MEMO)
      give(source, BillRole::Goods);
  }
  return roles;
}

} // namespace

BillLayout LayoutOfMapping(const ColumnList &columns,
                           const ImportMapping &mapping,
                           const QStringList &headers, const QString &name) {
  const QHash<QString, BillRole> roles = RolesOf(columns, mapping);
  BillLayout layout;
  layout.name = name.trimmed();
  switch (mapping.format.kind) {
  case StatementKind::Xlsx:
    layout.sources = {BillSource::Xlsx};
    break;
  case StatementKind::Xls:
    layout.sources = {BillSource::Xls};
    break;
  default:
    layout.sources = {BillSource::Csv};
    layout.encoding = mapping.format.encoding;
  }
  layout.channel = mapping.channel;
  layout.rowsEnd = mapping.format.rowsEnd;
  layout.flagOut = mapping.flagOut;
  layout.flagIn = mapping.flagIn;
  layout.side = !mapping.directionColumn.isEmpty() ? BillSideForm::Direction
                : mapping.UsesDebitCredit()        ? BillSideForm::DebitCredit
                : !mapping.flagColumn.isEmpty()    ? BillSideForm::Flag
                : mapping.spendingPositive         ? BillSideForm::CreditCard
                                                   : BillSideForm::Signed;
  for (const QString &header : headers) {
    if (header.trimmed().isEmpty())
      continue;
    layout.columns.append({header.trimmed(),
                           roles.value(header.trimmed(), BillRole::Other),
                           false});
  }
  return layout;
}
