// One unit of work in an account file: the statements run between its
// making and Commit reach the file together, or not at all when it is
// dropped uncommitted. Units nest (they are savepoints), so a unit per
// statement inside the unit of a whole user action lets one statement fail
// alone while the action stays one write to the file.
#pragma once

class CDBVisiter;

class UnitOfWork {
public:
  // Opens a unit on session; with a null session the unit does nothing.
  explicit UnitOfWork(CDBVisiter *session);
  // Rolls back whatever was not committed.
  ~UnitOfWork();
  UnitOfWork(const UnitOfWork &) = delete;
  UnitOfWork &operator=(const UnitOfWork &) = delete;

  // Whether the unit was opened and is not yet committed or rolled back.
  bool IsOpen() const { return open_; }
  // Makes the statements of the unit part of the enclosing one (or of the
  // file when there is none). False when the commit failed, in which case
  // its statements are undone.
  bool Commit();
  // Undoes the statements of the unit now.
  void Rollback();

private:
  CDBVisiter *session_;
  bool open_;
};
