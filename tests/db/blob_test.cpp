// Long binary values: the pending edit of the current row, Update and
// CancelUpdate, and reading back in chunks of 100 bytes.
#include "db_test_util.h"

#include <QBuffer>

namespace {

// Records the size of every write it receives.
class ChunkRecorder : public QIODevice {
public:
  ChunkRecorder() { open(QIODevice::WriteOnly | QIODevice::Unbuffered); }
  QList<qint64> chunks;
  QByteArray bytes;

protected:
  qint64 readData(char *, qint64) override { return -1; }
  qint64 writeData(const char *data, qint64 size) override {
    chunks.append(size);
    bytes.append(data, size);
    return size;
  }
};

QByteArray Pattern(int size) {
  QByteArray bytes;
  for (int i = 0; i < size; ++i)
    bytes.append(char(i * 7 + 3));
  return bytes;
}

class BlobTest : public dbtest::SessionTest {
protected:
  int NewFilterRow(const QString &title) {
    Exec(QStringLiteral("Insert Into FilterMemory ([ClassID], [Title])  Values (1,'%1')")
             .arg(title));
    EXPECT_EQ(session_->Query("SELECT @@IDENTITY as ID_NEW"), 1);
    return session_->GetInt("ID_NEW");
  }
  bool Store(int id, const QByteArray &bytes) {
    if (session_->Query(QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id)) != 1)
      return false;
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    return session_->WriteBlob(buffer, "flValue") && session_->Update();
  }
  QByteArray Load(int id, QList<qint64> *chunks = nullptr) {
    session_->Query(QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id));
    ChunkRecorder recorder;
    const int size = session_->ReadBlob("flValue", recorder);
    EXPECT_EQ(size, recorder.bytes.size());
    if (chunks)
      *chunks = recorder.chunks;
    return recorder.bytes;
  }
};

TEST_F(BlobTest, StoredValueIsReadBackInChunksOfOneHundred) {
  const int id = NewFilterRow("设置1");
  const QByteArray bytes = Pattern(250);
  ASSERT_TRUE(Store(id, bytes));
  QList<qint64> chunks;
  EXPECT_EQ(Load(id, &chunks), bytes);
  EXPECT_EQ(chunks, QList<qint64>({100, 100, 50}));
  // Another session on the file sees it: the update is in the file.
  CAccessVisiter other(path_);
  ASSERT_TRUE(other.Open());
  ASSERT_EQ(other.Query(QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id)), 1);
  QBuffer out;
  out.open(QIODevice::WriteOnly);
  EXPECT_EQ(other.ReadBlob("flValue", out), 250);
  EXPECT_EQ(out.data(), bytes);
}

TEST_F(BlobTest, EditIsPendingUntilUpdateOrCancel) {
  const int id = NewFilterRow("a");
  ASSERT_EQ(session_->Query(QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id)), 1);
  EXPECT_EQ(session_->GetEditMode(), 0);
  QBuffer buffer;
  buffer.setData(Pattern(10));
  buffer.open(QIODevice::ReadOnly);
  ASSERT_TRUE(session_->WriteBlob(buffer, "flValue"));
  EXPECT_EQ(session_->GetEditMode(), 1);
  EXPECT_TRUE(session_->CancelUpdate());
  EXPECT_EQ(session_->GetEditMode(), 0);
  EXPECT_TRUE(session_->CancelUpdate());  // nothing pending is fine
  EXPECT_EQ(Load(id), QByteArray());
  // A new query drops a pending edit too.
  buffer.seek(0);
  ASSERT_EQ(session_->Query(QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id)), 1);
  ASSERT_TRUE(session_->WriteBlob(buffer, "flValue"));
  session_->Query("Select * From FilterMemory");
  EXPECT_EQ(session_->GetEditMode(), 0);
  EXPECT_EQ(Load(id), QByteArray());
}

TEST_F(BlobTest, WriteBlobNeedsTheWholeStreamAndARow) {
  const int id = NewFilterRow("a");
  QBuffer buffer;
  buffer.setData(Pattern(30));
  buffer.open(QIODevice::ReadOnly);
  buffer.seek(10);  // not rewound: fewer bytes than the stream's length
  ASSERT_EQ(session_->Query(QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id)), 1);
  EXPECT_FALSE(session_->WriteBlob(buffer, "flValue"));
  buffer.seek(0);
  EXPECT_FALSE(session_->WriteBlob(buffer, "NoSuchColumn"));
  session_->Query("Select * From FilterMemory Where ID=-1");
  buffer.seek(0);
  EXPECT_FALSE(session_->WriteBlob(buffer, "flValue"));
  EXPECT_FALSE(session_->Update());
}

TEST_F(BlobTest, RowsAreFoundByTheirKeyOrByAllTheirValues) {
  const int first = NewFilterRow("same");
  const int second = NewFilterRow("same");
  ASSERT_TRUE(Store(second, Pattern(5)));
  EXPECT_EQ(Load(first), QByteArray());
  EXPECT_EQ(Load(second), Pattern(5));
  // A table without a key: the row is found by its values; when two rows
  // look alike the update is refused and nothing changes.
  Exec("Alter Table Users Add Column [Pic] Image");
  Exec("Insert Into Users ([ID], [Item]) Values (1, 'one')");
  Exec("Insert Into Users ([ID], [Item]) Values (2, 'two')");
  Exec("Insert Into Users ([ID], [Item]) Values (2, 'two')");
  QBuffer buffer;
  buffer.setData(Pattern(7));
  buffer.open(QIODevice::ReadOnly);
  ASSERT_EQ(session_->Query("Select * From Users Where ID=1"), 1);
  ASSERT_TRUE(session_->WriteBlob(buffer, "Pic"));
  EXPECT_TRUE(session_->Update());
  buffer.seek(0);
  ASSERT_EQ(session_->Query("Select * From Users Where ID=2"), 2);
  ASSERT_TRUE(session_->WriteBlob(buffer, "Pic"));
  EXPECT_FALSE(session_->Update());
  EXPECT_EQ(session_->GetEditMode(), 0);
  EXPECT_EQ(session_->Count("Users", "Pic Is Not Null"), 1u);
}

TEST_F(BlobTest, SizesAndAttributesOfColumns) {
  const int id = NewFilterRow("a");
  ASSERT_TRUE(Store(id, Pattern(42)));
  ASSERT_EQ(session_->Query(QStringLiteral("Select * From FilterMemory Where ID=%1").arg(id)), 1);
  EXPECT_EQ(session_->GetFieldAttributes("flValue") & 0x80, 0x80);
  EXPECT_EQ(session_->GetFieldAttributes("ClassID") & 0x80, 0);
  EXPECT_EQ(session_->GetFieldAttributes("Nope"), -1);
  EXPECT_EQ(session_->GetFieldActualSize("flValue"), 42);
  EXPECT_EQ(session_->GetFieldActualSize("Nope"), -1);
}

} // namespace
