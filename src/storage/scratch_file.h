// Scratch files: the bytes of a file in the making (a compacted copy, a
// copy, a backup, an export), written beside the file they become and
// renamed into place only when complete.
//
// A scratch file is created exclusively (never through a link or over a
// file that is there), readable by its owner only, and named so that it is
// recognisably ours: ".<final name>.sorvanel-tmp-XXXXXX" (the final name
// for people to read, cut short when long; random letters at the end). Its
// maker holds an flock() on it for its whole life. Before a new one is made
// in a folder, the scratch files there that nobody holds are removed with
// their SQLite "-journal": they are what a killed process left behind.
#pragma once

#include <QString>

class ScratchFile {
public:
  ScratchFile() = default;
  // Removes the scratch file unless it has been moved into place.
  ~ScratchFile();
  ScratchFile(const ScratchFile &) = delete;
  ScratchFile &operator=(const ScratchFile &) = delete;

  // Removes the dead scratch files of folder, then makes a new empty one
  // there for a file to be called finalName. False when none can be made;
  // errno tells why.
  bool Create(const QString &folder, const QString &finalName);

  // The absolute path of the scratch file; empty before Create.
  const QString &Path() const { return path_; }
  // The open descriptor (read and write) of the scratch file.
  int Descriptor() const { return fd_; }

  // Gives the scratch file the name target (replacing a file there only
  // when replace is true) and lets go of it: it is no scratch file any
  // more. False with errno when the rename fails; the scratch file stays.
  bool MoveTo(const QString &target, bool replace);

  // Removes the scratch file and its journal and lets go of it.
  void Remove();

  // Whether a file name is that of a scratch file or of its journal.
  static bool IsScratchName(const QString &fileName);

private:
  void Release();

  QString path_;
  int fd_ = -1;
};
