// The byte layout of a saved filter set: the exact bytes written, the length
// forms of texts, and a reader that refuses broken streams without reading
// past them.
#include "groups/filter_set.h"
#include "groups/filter_set_stream.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>

namespace {

QByteArray Hex(const char *hex) { return QByteArray::fromHex(hex); }

QByteArray Int32(qint32 value) {
  QByteArray bytes(4, 0);
  for (int i = 0; i < 4; ++i)
    bytes[i] = char((quint32(value) >> (8 * i)) & 0xFF);
  return bytes;
}

QByteArray Double(double value) {
  quint64 bits;
  std::memcpy(&bits, &value, 8);
  QByteArray bytes(8, 0);
  for (int i = 0; i < 8; ++i)
    bytes[i] = char((bits >> (8 * i)) & 0xFF);
  return bytes;
}

QByteArray Utf16(const QString &text) {
  QByteArray bytes;
  for (QChar c : text) {
    bytes.append(char(c.unicode() & 0xFF));
    bytes.append(char(c.unicode() >> 8));
  }
  return bytes;
}

FilterSet AmountSet() {
  FilterSet set;
  set.title = QStringLiteral("设置1");
  FilterCondition amount;
  amount.enabled = 0;
  amount.kind = CK_COLUMN;
  amount.fieldName = QStringLiteral("Amount");
  amount.numbers = {10.5, -20};
  set.conditions.append(amount);
  return set;
}

// A set that uses every element of the layout.
FilterSet RichSet() {
  FilterSet set = AmountSet();
  FilterCondition kind;
  kind.fieldName = QStringLiteral("Kind");
  kind.texts = {QStringLiteral("餐饮"), QString(), QStringLiteral("O'Brien")};
  kind.integers = {7, -1};
  set.conditions.append(kind);
  FilterCondition sum;
  sum.kind = CK_SUM;
  sum.texts = {QStringLiteral("Total")};
  set.conditions.append(sum);
  return set;
}

TEST(FilterSetStream, WritesTheWorkedExampleByteForByte) {
  QByteArray expected;
  expected += Int32(1);
  expected += Hex("fffeff03") + Utf16(QStringLiteral("设置1"));
  expected += Int32(1);                              // one condition
  expected += Int32(1) + Int32(0) + Int32(13);       // marker, off, kind
  expected += Hex("fffeff06") + Utf16("Amount");
  expected += Int32(0);                              // no texts
  expected += Int32(2) + Double(10.5) + Double(-20);
  expected += Int32(0);                              // no integers
  EXPECT_EQ(WriteFilterSetStream(AmountSet()).toHex(' '), expected.toHex(' '));

  FilterSet empty;
  EXPECT_EQ(WriteFilterSetStream(empty), Int32(1) + Hex("fffeff00") + Int32(0));
}

TEST(FilterSetStream, TextLengthForms) {
  struct Case {
    int units;
    const char *lengthBytes;
  } cases[] = {
      {254, "fe"},
      {255, "ffff00"},
      {0xFFFD, "fffdff"},
      {0xFFFE, "ffffff" "feff0000"},
      {0x10000, "ffffff" "00000100"},
  };
  for (const Case &c : cases) {
    FilterSet set;
    set.title = QString(c.units, QLatin1Char('x'));
    const QByteArray bytes = WriteFilterSetStream(set);
    const QByteArray expected = Hex("fffeff") + Hex(c.lengthBytes);
    EXPECT_EQ(bytes.mid(4, expected.size()).toHex(), expected.toHex())
        << c.units;
    FilterSet back;
    ASSERT_TRUE(ReadFilterSetStream(bytes, back)) << c.units;
    EXPECT_EQ(back.title, set.title);
  }
}

TEST(FilterSetStream, RoundTripKeepsEveryField) {
  FilterSet set = RichSet();
  set.conditions[0].numbers = {std::numeric_limits<double>::quiet_NaN(),
                               -0.0};
  set.title = QString(QChar(0xD800)) + "lone surrogate";
  FilterSet back;
  back.id = 12;
  back.classId = FSC_PIE_SETUP;
  ASSERT_TRUE(ReadFilterSetStream(WriteFilterSetStream(set), back));
  EXPECT_EQ(back.id, 12); // the row's ID and class are not in the stream
  EXPECT_EQ(back.classId, FSC_PIE_SETUP);
  EXPECT_EQ(back.title, set.title);
  EXPECT_EQ(back.conditions, set.conditions);
  EXPECT_TRUE(std::signbit(back.conditions[0].numbers[1]));
}

TEST(FilterSetStream, ReadsWhatOlderWritersLeft) {
  // Markers other than 1 are not examined, an untagged length is a text of
  // one-byte characters, a trailing rest is ignored.
  QByteArray bytes;
  bytes += Int32(77);
  bytes += Hex("03") + QByteArray("Old");
  bytes += Int32(1);
  bytes += Int32(-5) + Int32(1) + Int32(13);
  bytes += Hex("ff0400") + QByteArray("Kind");     // untagged word length
  bytes += Int32(1) + Hex("02e9e8");                // Latin-1 "éè"
  bytes += Int32(0) + Int32(0);
  bytes += "trailing";
  FilterSet set;
  ASSERT_TRUE(ReadFilterSetStream(bytes, set));
  EXPECT_EQ(set.title, "Old");
  ASSERT_EQ(set.conditions.size(), 1);
  EXPECT_EQ(set.conditions[0].fieldName, "Kind");
  EXPECT_EQ(set.conditions[0].texts, QStringList{QStringLiteral("éè")});
}

TEST(FilterSetStream, EveryTruncationFailsAndLeavesTheSetAlone) {
  const QByteArray bytes = WriteFilterSetStream(RichSet());
  for (qsizetype size = 0; size < bytes.size(); ++size) {
    FilterSet set;
    set.title = QStringLiteral("kept");
    set.conditions.append(FilterCondition());
    // A copy of just the prefix, so a read past it is seen by the sanitizers.
    const QByteArray prefix(bytes.constData(), size);
    EXPECT_FALSE(ReadFilterSetStream(prefix, set)) << size;
    EXPECT_EQ(set.title, "kept");
    EXPECT_EQ(set.conditions.size(), 1);
  }
}

TEST(FilterSetStream, ImpossibleCountsAndLengthsFail) {
  const QByteArray head = Int32(1) + Hex("fffeff00");
  const QByteArray condition = Int32(1) + Int32(1) + Int32(13) + Hex("00");
  FilterSet set;
  EXPECT_FALSE(ReadFilterSetStream(head + Int32(-1), set));
  EXPECT_FALSE(ReadFilterSetStream(head + Int32(0x7FFFFFFF), set));
  EXPECT_FALSE(ReadFilterSetStream(head + Int32(2) + condition, set));
  // Counts of texts, doubles and integers that are negative or beyond what
  // is left; the padding lets the set's own count pass.
  const QByteArray one = head + Int32(1) + condition;
  const QByteArray pad(40, 0);
  EXPECT_FALSE(ReadFilterSetStream(one + Int32(-3) + pad, set));
  EXPECT_FALSE(ReadFilterSetStream(one + Int32(1000) + pad, set));
  EXPECT_FALSE(ReadFilterSetStream(one + Int32(0) + Int32(0x20000000) + pad, set));
  EXPECT_FALSE(ReadFilterSetStream(
      one + Int32(0) + Int32(1) + Double(1) + Int32(100) + pad, set));
  EXPECT_TRUE(ReadFilterSetStream(one + Int32(0) + Int32(0) + Int32(0), set));
  set = FilterSet();
  // Text lengths beyond the stream in each length form, 64 bits included.
  for (const char *length : {"fffeff10", "fffeffff0010", "fffeffffffff00000010",
                             "fffeffffffffffffffff" "0000000000000080", "ff1000",
                             "ffffff00000001"}) {
    EXPECT_FALSE(ReadFilterSetStream(Int32(1) + Hex(length) + "ab", set))
        << length;
  }
  EXPECT_TRUE(set.title.isEmpty());
}

TEST(FilterSet, FindsAndAddsByFieldNameAndKind) {
  FilterSet set = RichSet();
  ASSERT_NE(set.Find("kind", CK_COLUMN), nullptr);
  EXPECT_EQ(set.Find("kind", CK_COLUMN)->integers.size(), 2);
  EXPECT_EQ(set.Find("Kind", CK_SUM), nullptr);
  EXPECT_NE(set.Find("", CK_SUM), nullptr);

  FilterCondition again;
  again.fieldName = QStringLiteral("AMOUNT");
  EXPECT_FALSE(set.Add(again));
  again.kind = CK_SUM;
  again.fieldName = QStringLiteral("Amount");
  EXPECT_TRUE(set.Add(again));
  EXPECT_EQ(set.conditions.size(), 4);
}

} // namespace
