// Date values: the accepted text forms of typed dates and of Jet literals,
// the fixed output forms and the day counts of the platform.
#include "base/date_text.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

QString Both(const QString &text) {
  return FormatDateTime(ParseDateTime(text), DTP_BOTH);
}

TEST(ParseDateTime, ReadsTheFixedAndIsoForms) {
  EXPECT_EQ(Both("2010/8/1"), "2010/8/1");
  EXPECT_EQ(Both("2010-08-01"), "2010/8/1");
  EXPECT_EQ(Both("2010/8/1 9:05:07"), "2010/8/1 9:05:07");
  EXPECT_EQ(Both("2010-8-1 9:5"), "2010/8/1 9:05:00");
  EXPECT_EQ(Both("2010-08-01T23:59:59"), "2010/8/1 23:59:59");
  EXPECT_EQ(Both("  2010/8/1  "), "2010/8/1");
  EXPECT_EQ(Both("20100801"), "2010/8/1");
  EXPECT_EQ(Both("20100801 9:05"), "2010/8/1 9:05:00");
  // A time alone lies on the zero day.
  const DateValue time = ParseDateTime("7:30:00");
  ASSERT_TRUE(time.IsValid());
  EXPECT_EQ(time.Date(), ZeroDay());
  EXPECT_EQ(FormatDateTime(time), "7:30:00");
}

TEST(ParseDateTime, RefusesWhatIsNoDateOrTime) {
  for (const char *text :
       {"", "   ", "abc", "2010", "2010/8", "2010-8/1", "2010/13/1",
        "2010/2/30", "99/1/1", "12345/1/1", "2010/8/1 25:00", "2010/8/1 9:60",
        "2010/8/1 9", "2010/8/1T", "2010/8/1 x", "9:00 pm", "1:2:3:4",
        "2010/8/1 9:00:00 1", "2010081", "201008011", "20101301",
        "2010-0801"}) {
    const DateValue value = ParseDateTime(QString::fromUtf8(text));
    EXPECT_EQ(value.GetStatus(), DateValue::Invalid) << text;
  }
}

// A literal takes Jet's own forms and a typed text does not: the same text
// may read as a date in SQL and be refused in a cell.
TEST(ParseJetDateText, TakesJetsOwnFormsThatTypingRefuses) {
  auto literal = [](const char *text) {
    JetDateTime value;
    return ParseJetDateText(QString::fromUtf8(text), value)
               ? CanonicalDateText(value)
               : QStringLiteral("refused");
  };
  EXPECT_EQ(literal("3/5/2024"), "2024-03-05 00:00:00");
  EXPECT_EQ(literal("2024-3-5 9:05 PM"), "2024-03-05 21:05:00");
  EXPECT_EQ(literal("12:30 am"), "1899-12-30 00:30:00");
  EXPECT_EQ(literal("2024/3/0005"), "2024-03-05 00:00:00");
  for (const char *text : {"3-5-2024", "20240305", "2024-03-05T10:00",
                           "13:00 PM", "2/30/2024"})
    EXPECT_EQ(literal(text), "refused") << text;
  for (const char *text : {"3/5/2024", "9:00 PM", "2024/3/0005"})
    EXPECT_FALSE(ParseDateTime(QString::fromUtf8(text)).IsValid()) << text;
}

TEST(FormatDateTime, LeavesOutMidnightAndTheZeroDay) {
  const DateValue noon =
      DateValue::FromDateAndTime(QDate(2010, 8, 1), QTime(12, 0));
  EXPECT_EQ(FormatDateTime(noon, DTP_BOTH), "2010/8/1 12:00:00");
  EXPECT_EQ(FormatDateTime(noon, DTP_DATE), "2010/8/1");
  EXPECT_EQ(FormatDateTime(noon, DTP_TIME), "12:00:00");

  const DateValue midnight =
      DateValue::FromDateAndTime(QDate(2010, 12, 31), QTime(0, 0));
  EXPECT_EQ(FormatDateTime(midnight, DTP_BOTH), "2010/12/31");
  EXPECT_EQ(FormatDateTime(midnight, DTP_TIME), "0:00:00");

  const DateValue zero = DateValue::FromDays(0);
  EXPECT_EQ(FormatDateTime(zero, DTP_BOTH), "0:00:00");
  EXPECT_EQ(FormatDateTime(zero, DTP_DATE), "1899/12/30");
}

TEST(FormatDateTime, InvalidAndNullValues) {
  for (DateTimePart part : {DTP_BOTH, DTP_DATE, DTP_TIME}) {
    EXPECT_EQ(FormatDateTime(DateValue::MakeInvalid(), part),
              "Invalid DateTime");
    EXPECT_EQ(FormatDateTime(DateValue::MakeNull(), part), "");
  }
  EXPECT_FALSE(DateValue::FromDateAndTime(QDate(99, 1, 1), QTime(0, 0)).IsValid());
  EXPECT_FALSE(DateValue::FromDateTime(QDateTime()).IsValid());
}

TEST(DateValue, DayCountsOfThePlatform) {
  EXPECT_EQ(FormatDateTime(DateValue::FromDays(40391.75)), "2010/8/1 18:00:00");
  EXPECT_DOUBLE_EQ(ParseDateTime("2010/8/1 18:00").Days(), 40391.75);
  // Before the zero day the fraction still counts forward within the day.
  EXPECT_EQ(FormatDateTime(DateValue::FromDays(-1.25)), "1899/12/29 6:00:00");
  EXPECT_DOUBLE_EQ(ParseDateTime("1899/12/29 6:00").Days(), -1.25);
  // A fraction that rounds up to a whole day moves to the next day.
  EXPECT_EQ(FormatDateTime(DateValue::FromDays(1.9999999999)), "1900/1/1");

  EXPECT_FALSE(DateValue::FromDays(1e300).IsValid());
  EXPECT_FALSE(DateValue::FromDays(std::numeric_limits<double>::quiet_NaN()).IsValid());
  EXPECT_FALSE(DateValue::FromDays(2958466).IsValid()); // 10000/1/1
  EXPECT_TRUE(DateValue::FromDays(2958465.5).IsValid()); // 9999/12/31 noon
}

} // namespace
