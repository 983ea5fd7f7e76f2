// One open account file of the program: its AccountFile and the operations
// the user runs on it (open, save, save as, close).
#pragma once

#include <QDateTime>
#include <QObject>
#include <QString>

#include <memory>

class AccountFile;

class CSorvanelDoc : public QObject {
  Q_OBJECT

public:
  CSorvanelDoc();
  ~CSorvanelDoc() override;

  AccountFile &File() { return *file_; }
  // The path of the open file as it was opened (absolute); empty before.
  QString Path() const;
  // Its canonical form, for comparisons.
  QString CanonicalPath() const;
  // The file name shown in titles and tabs.
  QString Title() const;

  // Opens path. A file that fails to open or to load is a failure, and the
  // document keeps nothing of it. The windows that show the document must
  // listen before this runs: the open ends with the notification 0xFFFF.
  bool Open(const QString &path);
  // The plain save: every change is already in the file, so it only says
  // so and reports that nothing was saved.
  bool Save();
  // Saves under newPath: compacts the file, copies it there and goes on on
  // the copy. Saving onto the file itself is a plain save. When the copy
  // fails the document stays on its old file, usable, and nothing is
  // deleted. The caller refuses targets open in this program.
  bool SaveAs(const QString &newPath);
  // Closes and compacts the file. The windows must be gone by then. A file
  // that changed while open is then backed up (when backups are on).
  void Close();
  // Whether the file was written since it was opened here.
  bool Changed() const;

signals:
  // The document's path changed (save as).
  void PathChanged(const QString &path);

private:
  void TakeBaseline(const QString &path);

  std::unique_ptr<AccountFile> file_;
  // The file's modification time and size when it was taken up here; a
  // difference at close means it was written.
  QDateTime baselineTime_;
  qint64 baselineSize_ = -1;
  bool changed_ = false;
};
