// What the records need of the account file they belong to: its session,
// its column list, the records grids that show it, and two notices of
// changes that the file passes on to whoever shows it. AccountFile is the
// one such file; the records know it only through this class.
//
// Every grid that shows the file's records registers here (through
// RecordGrid::AttachFile) and leaves when destroyed; a file destroyed first
// detaches its grids.
#pragma once

#include <QList>

class CDBVisiter;
class ColumnList;
class RecordGrid;

class RecordFile {
public:
  RecordFile() = default;
  virtual ~RecordFile();
  RecordFile(const RecordFile &) = delete;
  RecordFile &operator=(const RecordFile &) = delete;

  // The session of the open file; null while no file is open.
  virtual CDBVisiter *Session() const = 0;
  virtual const ColumnList &Columns() const = 0;

  // A group of record changes was stored and recorded: the grids show it
  // already, what sums the records must read them again.
  virtual void ChangesRecorded() = 0;
  // The stored records changed other than row by row through the grids (or
  // may have): everything that shows them reads them again.
  virtual void RecordsChanged() = 0;

  // The registered grids, in registration order.
  void RegisterGrid(RecordGrid *grid);
  void UnregisterGrid(RecordGrid *grid);
  const QList<RecordGrid *> &Grids() const { return grids_; }
  // The registered grid with that registration number, or null.
  RecordGrid *GridByNumber(int number) const;

private:
  QList<RecordGrid *> grids_;
  int lastGridNumber_ = 0;
};
