// Registration of records grids with their file.
#include "records/record_grid.h"

#include "records/record_file.h"

RecordGrid::~RecordGrid() { AttachFile(nullptr); }

void RecordGrid::AttachFile(RecordFile *file) {
  if (file == file_)
    return;
  if (file_)
    file_->UnregisterGrid(this);
  if (file)
    file->RegisterGrid(this);
}

RecordFile::~RecordFile() {
  for (RecordGrid *grid : grids_) {
    grid->file_ = nullptr;
    grid->number_ = 0;
  }
}

void RecordFile::RegisterGrid(RecordGrid *grid) {
  if (!grid || grid->file_ == this)
    return;
  if (grid->file_)
    grid->file_->UnregisterGrid(grid);
  grid->file_ = this;
  grid->number_ = ++lastGridNumber_;
  grids_.append(grid);
}

void RecordFile::UnregisterGrid(RecordGrid *grid) {
  if (!grid || grid->file_ != this)
    return;
  grids_.removeAll(grid);
  grid->file_ = nullptr;
  grid->number_ = 0;
}

RecordGrid *RecordFile::GridByNumber(int number) const {
  if (number <= 0)
    return nullptr;
  for (RecordGrid *grid : grids_)
    if (grid->number_ == number)
      return grid;
  return nullptr;
}
