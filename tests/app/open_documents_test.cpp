// The program's list of open documents, without a window: one document
// per file however it is named, nothing kept of a failed open, and no
// file written over while it is open here (a file locked by another
// program: file_lock_app_test).
#include "app/open_documents.h"

#include "app/sorvanel_doc.h"
#include "app/startup_settings.h"
#include "app_test_env.h"

#include <QFile>
#include <QFileInfo>

namespace {

class OpenDocumentsTest : public AppTest {};

TEST_F(OpenDocumentsTest, OneDocumentPerFileAndNoTargetInUse) {
  RecentFileList recent;
  OpenDocuments docs(recent);
  const QString a = Copy(QStringLiteral("家庭账本"), "a");
  const OpenDocuments::Opened first = docs.Open(a);
  ASSERT_NE(first.doc, nullptr);
  EXPECT_FALSE(first.wasOpen);
  QFile::link(a, dir_.filePath("link.fz"));
  const OpenDocuments::Opened again = docs.Open(dir_.filePath("x/../link.fz"));
  EXPECT_EQ(again.doc, first.doc);
  EXPECT_TRUE(again.wasOpen);

  int unlistened = 0;
  const OpenDocuments::Opened none = docs.Open(
      dir_.filePath("none.fz"), {}, [&](CSorvanelDoc &) { ++unlistened; });
  EXPECT_EQ(none.doc, nullptr);
  EXPECT_EQ(unlistened, 1);
  EXPECT_EQ(docs.All().size(), 1);
  EXPECT_EQ(recent.Entries().first(), QFileInfo(a).canonicalFilePath());

  const QString b = Copy(QStringLiteral("家庭账本"), "b");
  CSorvanelDoc *second = docs.Open(b).doc;
  ASSERT_NE(second, nullptr);
  const QString inUse =
      QStringLiteral("文件a.fz正在使用中，不能覆盖！\r\n请先关闭它或另选文件名。");
  EXPECT_FALSE(docs.SaveAs(*second, a));
  EXPECT_EQ(prompt_.Texts().last(), inUse);
  EXPECT_FALSE(docs.CreateFromTemplate(dir_.filePath("link.fz"), b));
  EXPECT_EQ(prompt_.Texts().last(), QString(inUse).replace("a.fz", "link.fz"));

  EXPECT_EQ(second->Path(), QFileInfo(b).absoluteFilePath());

  docs.Close(first.doc);
  EXPECT_EQ(docs.All(), QList<CSorvanelDoc *>{second});
  EXPECT_TRUE(docs.CreateFromTemplate(a, Copy(QStringLiteral("家庭账本"), "c")));
  docs.Close(second);
  EXPECT_TRUE(docs.Empty());
}

} // namespace
