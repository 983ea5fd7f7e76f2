// Cell texts as SQL literals: one form per column type, the fixed fallbacks,
// numbers read as the C library reads them, and quotes doubled.
#include "base/date_text.h"
#include "db/insert_statements.h"
#include "model/column_list.h"
#include "model/sql_text.h"
#include "model/value_literal.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>

namespace {

ColumnList AllTypes() {
  ColumnList columns;
  for (int type = 0; type <= int(FT_MEMO); ++type) {
    ColumnDef column;
    column.type = type;
    column.fieldName = QStringLiteral("F%1").arg(type);
    columns.Append(column);
  }
  return columns;
}

TEST(ValueLiteral, NumbersAreWrittenWithoutTrailingZeros) {
  const ColumnList columns = AllTypes();
  EXPECT_EQ(ValueLiteral(columns, "", FT_INTEGER), "0");
  EXPECT_EQ(ValueLiteral(columns, "7", FT_INTEGER), "7");
  EXPECT_EQ(ValueLiteral(columns, "2.50", FT_INTEGER), "2.5");
  EXPECT_EQ(ValueLiteral(columns, "-0.125", FT_FLOAT), "-0.125");
  EXPECT_EQ(ValueLiteral(columns, "12abc", FT_KEY), "12");
  EXPECT_EQ(ValueLiteral(columns, "abc", FT_FLOAT), "0");
  // A code outside the known types is treated as a number.
  EXPECT_EQ(TypedLiteral("3.0", 42), "3");
}

TEST(ValueLiteral, TextsAreQuotedWithTheirQuotesDoubled) {
  const ColumnList columns = AllTypes();
  EXPECT_EQ(ValueLiteral(columns, "O'Brien", FT_TEXT), "'O''Brien'");
  EXPECT_EQ(ValueLiteral(columns, "餐饮", FT_OPTION), "'餐饮'");
  EXPECT_EQ(ValueLiteral(columns, "'); Drop Table Users; --", FT_MEMO),
            "'''); Drop Table Users; --'");
  EXPECT_EQ(ValueLiteral(columns, "", FT_TEXT), "''");
  EXPECT_EQ(QuoteSql("''"), "''''");
}

TEST(ValueLiteral, DatesAndTimesWithTheirFallbacks) {
  const ColumnList columns = AllTypes();
  EXPECT_EQ(ValueLiteral(columns, "2010-08-01", FT_DATE), "#2010/8/1#");
  EXPECT_EQ(ValueLiteral(columns, "2010-08-01 13:14", FT_AUTODATE),
            "#2010/8/1#");
  EXPECT_EQ(ValueLiteral(columns, "2010/8/1 13:14:15", FT_DATETIME),
            "#2010/8/1 13:14:15#");
  EXPECT_EQ(ValueLiteral(columns, "2010/8/1 13:14:15", FT_TIME), "#13:14:15#");
  EXPECT_EQ(ValueLiteral(columns, "8:00", FT_AUTOTIME), "#8:00:00#");

  EXPECT_EQ(ValueLiteral(columns, "abc", FT_DATE), "#1985-05-22#");
  EXPECT_EQ(ValueLiteral(columns, "", FT_DATETIME), "#1985-05-22#");
  EXPECT_EQ(ValueLiteral(columns, "abc", FT_AUTODATE), "#1985-05-22#");
  EXPECT_EQ(ValueLiteral(columns, "25:00", FT_TIME), "#00:00:00#");
  EXPECT_EQ(ValueLiteral(columns, "", FT_AUTOTIME), "#00:00:00#");
}

// A bound date is the stored text of its literal, worked out without the
// literal; a bound decimal reads as the number typed.
TEST(TypedBoundValue, AgreesWithTheLiteral) {
  const QStringList dates = {
      "100-1-1",    "999/12/31 23:59:59", "1000-01-01", "1899-12-30",
      "1899/12/30 0:00:01", "1900-02-28 12:00", "2024-02-29T08:05:09",
      "20240301",   "9999/12/31 23:59:59", "13:14:15", "0:00", "2024-02-30",
      "abc",        "",                   "25:00"};
  for (const QString &text : dates)
    for (int type : {FT_DATE, FT_AUTODATE, FT_TIME, FT_AUTOTIME, FT_DATETIME}) {
      const QString literal = TypedLiteral(text, type);
      JetDateTime date;
      ASSERT_TRUE(ParseJetDateText(
          QStringView(literal).mid(1, literal.size() - 2), date));
      BoundValue bound;
      EXPECT_TRUE(TypedBoundValue(text, type, &bound));
      EXPECT_EQ(bound.text, CanonicalDateText(date)) << text.toStdString();
    }
  for (const char *text : {"12.50", "-0.10", "0.1", "123456789012.345",
                           "99999999999999.9", "-0.00", "10.0", "1.23456789"}) {
    BoundValue bound;
    ASSERT_TRUE(TypedBoundValue(text, FT_FLOAT, &bound));
    EXPECT_EQ(std::strtod(qPrintable(bound.text), nullptr),
              std::strtod(text, nullptr)) << text;
    EXPECT_FALSE(bound.text.endsWith('0') && bound.text.contains('.'));
  }
}

TEST(ValueLiteral, PositionsOutOfRangeGiveEmptyText) {
  const ColumnList columns = AllTypes();
  for (int position : {-1, columns.Size(), 1000}) {
    EXPECT_EQ(ValueLiteral(columns, "1", position), "");
    EXPECT_EQ(ColumnCondition(columns, "1", position), "");
  }
  EXPECT_EQ(ValueLiteral(ColumnList(), "1", 0), "");
}

TEST(ColumnCondition, ComparesTheFieldWithTheLiteral) {
  const ColumnList columns = AllTypes();
  EXPECT_EQ(ColumnCondition(columns, "2.50", FT_FLOAT), "[F2]=2.5");
  EXPECT_EQ(ColumnCondition(columns, "O'Brien", FT_TEXT), "[F3]='O''Brien'");
  // Texts with placeholders of their own are copied as they are.
  EXPECT_EQ(ColumnCondition(columns, "%1 %2", FT_TEXT), "[F3]='%1 %2'");
}

TEST(LeadingNumber, ReadsLikeStrtod) {
  EXPECT_EQ(LeadingNumber(" \t-1.5e2x"), -150);
  EXPECT_EQ(LeadingNumber("+7"), 7);
  EXPECT_EQ(LeadingNumber(".5"), 0.5);
  EXPECT_EQ(LeadingNumber("5."), 5);
  EXPECT_EQ(LeadingNumber("1e"), 1);   // no exponent digits: stops at e
  EXPECT_EQ(LeadingNumber("1e+"), 1);
  EXPECT_EQ(LeadingNumber("2E-1"), 0.2);
  EXPECT_EQ(LeadingNumber("."), 0);
  EXPECT_EQ(LeadingNumber("-"), 0);
  EXPECT_EQ(LeadingNumber("e5"), 0);
  EXPECT_EQ(LeadingNumber("1,5"), 1);  // the point is the only separator
  EXPECT_EQ(LeadingNumber("０"), 0);    // full-width digits are no digits
  EXPECT_TRUE(std::isinf(LeadingNumber("1e999")));
  EXPECT_EQ(LeadingNumber("1e-999"), 0);
}

} // namespace
