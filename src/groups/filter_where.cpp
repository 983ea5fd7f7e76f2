// Filter settings, their categories and the WHERE text they give.
#include "groups/filter_where.h"

#include "model/column_list.h"
#include "model/sql_text.h"

#include <QDateTime>

namespace {

const QLatin1String kAnd(" And ");

// The current local date and time, to the second.
DateValue Now() {
  QDateTime now = QDateTime::currentDateTime();
  now.setTime(QTime(now.time().hour(), now.time().minute(),
                    now.time().second()));
  return DateValue::FromDateTime(now);
}

// Numbers are always written with eight decimals, whatever the locale.
QString Number(double value) { return QString::number(value, 'f', 8); }

// Field names stand in brackets, so a column named Order, Date or 金额
// filters like any other.
QString Field(const FilterColumnSetting &setting) {
  return QLatin1Char('[') + setting.column.fieldName + QLatin1Char(']');
}

void AppendWithAnd(QString &text, const QString &piece) {
  if (!text.isEmpty())
    text += kAnd;
  text += piece;
}

QString NumberPiece(const FilterColumnSetting &setting) {
  return QStringLiteral("(%1 >= %2 And %1 <= %3)")
      .arg(Field(setting), Number(setting.rangeStart), Number(setting.rangeEnd));
}

QString TextPiece(const FilterColumnSetting &setting) {
  return QStringLiteral("(%1 = '%2')")
      .arg(Field(setting), QuoteSql(setting.text));
}

QString DatePiece(const FilterColumnSetting &setting) {
  return QStringLiteral("(%1 >= #%2# And %1 <= #%3#)")
      .arg(Field(setting), FormatDateTime(setting.dateStart),
           FormatDateTime(setting.dateEnd));
}

// "F In ('a','b')"; false when no value is ticked.
bool OptionPiece(const FilterColumnSetting &setting, QString &piece) {
  QStringList values;
  for (const FilterOption &option : setting.options)
    if (option.ticked)
      values.append(SqlTextLiteral(option.value));
  if (values.isEmpty())
    return false;
  piece = Field(setting) + QLatin1String(" In (") +
          values.join(QLatin1Char(',')) + QLatin1Char(')');
  return true;
}

// Appends the piece of one setting; false when it stops the build.
bool AppendSetting(const FilterColumnSetting &setting, QString &text) {
  if (!setting.enabled)
    return true;
  switch (FilterCategoryOf(setting.column.type)) {
  case FC_NUMBER:
    AppendWithAnd(text, NumberPiece(setting));
    return true;
  case FC_TEXT:
    AppendWithAnd(text, TextPiece(setting));
    return true;
  case FC_DATE:
    AppendWithAnd(text, DatePiece(setting));
    return true;
  case FC_OPTION: {
    QString piece;
    if (!OptionPiece(setting, piece))
      return false;
    AppendWithAnd(text, piece);
    return true;
  }
  case FC_NONE:
    return true;
  }
  return true;
}

bool AppendEntries(const std::vector<FilterEntry> &entries, QString &text);

// A category is built into a text of its own; a non-empty one is appended
// in parentheses. Nothing of a failing category is appended.
bool AppendCategory(const FilterCategory &category, QString &text) {
  QString inner;
  if (!AppendEntries(category.entries, inner))
    return false;
  if (!inner.isEmpty())
    AppendWithAnd(text, QLatin1Char('(') + inner + QLatin1Char(')'));
  return true;
}

bool AppendEntries(const std::vector<FilterEntry> &entries, QString &text) {
  for (const FilterEntry &entry : entries) {
    const bool ok =
        std::holds_alternative<FilterCategory>(entry)
            ? AppendCategory(std::get<FilterCategory>(entry), text)
            : AppendSetting(std::get<FilterColumnSetting>(entry), text);
    if (!ok)
      return false;
  }
  return true;
}

// "类别未选择任何选项" for the first enabled option setting with nothing
// ticked: the one setting that stops a build.
QString UntickedOptionProblem(const std::vector<FilterEntry> &entries) {
  for (const FilterEntry &entry : entries) {
    if (const auto *category = std::get_if<FilterCategory>(&entry)) {
      const QString inner = UntickedOptionProblem(category->entries);
      if (!inner.isEmpty())
        return inner;
      continue;
    }
    const FilterColumnSetting &setting = std::get<FilterColumnSetting>(entry);
    QString piece;
    if (setting.enabled && FilterCategoryOf(setting.column.type) == FC_OPTION &&
        !OptionPiece(setting, piece))
      return QStringLiteral("%1未选择任何选项").arg(setting.column.title);
  }
  return QString();
}

} // namespace

FilterColumnSetting::FilterColumnSetting(const ColumnDef &def)
    : column(def), dateStart(Now()), dateEnd(dateStart) {
  for (const QString &value : def.Choices())
    options.append({value, true});
}

FilterCategoryKind FilterCategoryOf(int fieldType) {
  switch (fieldType) {
  case FT_DATE:
  case FT_AUTODATE:
  case FT_DATETIME:
    return FC_DATE;
  case FT_KEY:
  case FT_INTEGER:
  case FT_FLOAT:
    return FC_NUMBER;
  case FT_TEXT:
  case FT_MEMO:
    return FC_TEXT;
  case FT_OPTION:
    return FC_OPTION;
  default:
    return FC_NONE;
  }
}

QString FilterCategoryCaption(FilterCategoryKind kind) {
  switch (kind) {
  case FC_DATE:
    return QStringLiteral("日期筛选设置");
  case FC_NUMBER:
    return QStringLiteral("数字筛选设置");
  case FC_TEXT:
    return QStringLiteral("字符串筛选设置");
  case FC_OPTION:
    return QStringLiteral("可选型筛选设置");
  case FC_NONE:
    break;
  }
  return QString();
}

std::vector<FilterCategory> FilterCategories(const ColumnList &columns) {
  std::vector<FilterCategory> categories;
  for (const FilterCategoryKind kind : {FC_DATE, FC_NUMBER, FC_TEXT, FC_OPTION}) {
    FilterCategory category{FilterCategoryCaption(kind), {}};
    for (const ColumnDef &column : columns.All())
      if (column.enabled && FilterCategoryOf(column.type) == kind)
        category.entries.emplace_back(FilterColumnSetting(column));
    categories.push_back(std::move(category));
  }
  return categories;
}

FilterWhere BuildFilterWhere(const std::vector<FilterCategory> &categories) {
  FilterWhere result;
  for (const FilterCategory &category : categories) {
    if (!AppendCategory(category, result.text)) {
      result.ok = false;
      result.problem = UntickedOptionProblem(category.entries);
      break;
    }
  }
  return result;
}
