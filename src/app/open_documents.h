// The account files open in the program and the rules they keep: a file
// is open once however its path is spelled (links, "x/../f"), a file that
// fails to open is not kept, and no file is written over while this or
// another program has it open. The main window shows the documents in
// windows; it asks this list what to open, close and save where.
#pragma once

#include <QList>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

class CSorvanelDoc;
class RecentFileList;

class OpenDocuments {
public:
  explicit OpenDocuments(RecentFileList &recent);
  ~OpenDocuments();

  struct Opened {
    CSorvanelDoc *doc = nullptr; // null when the file did not open
    bool wasOpen = false;        // the file was open already
  };
  // Opens path, or finds it open. listen runs on a new document before its
  // file opens, so that the windows that show it hear the open's
  // notification; unlisten runs when the file did not open, before the
  // document is destroyed. An opened file goes first in the recent-file
  // list.
  using DocStep = std::function<void(CSorvanelDoc &)>;
  Opened Open(const QString &path, const DocStep &listen = {},
              const DocStep &unlisten = {});
  // Closes and compacts the document's file and forgets the document. Its
  // windows must be gone.
  void Close(CSorvanelDoc *doc);

  // Saves doc under path and lists the copy among the recent files; a
  // target open in this or another program is refused with a message.
  bool SaveAs(CSorvanelDoc &doc, const QString &path);
  // Makes target a copy of the template file; false, with a message, when
  // target is in use or cannot be replaced.
  bool CreateFromTemplate(const QString &target, const QString &templatePath);
  // True, after a message, when path is open in this program or locked by
  // another.
  bool RefuseTarget(const QString &path) const;

  // The document of path (compared canonically), or null.
  CSorvanelDoc *Find(const QString &path) const;
  QList<CSorvanelDoc *> All() const;
  bool Empty() const { return docs_.empty(); }

private:
  RecentFileList &recent_;
  std::vector<std::unique_ptr<CSorvanelDoc>> docs_;
};
