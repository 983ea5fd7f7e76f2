// Registration of records grids with their file.
#include "records/record_grid.h"

#include "model/account_file.h"

RecordGrid::~RecordGrid() { AttachFile(nullptr); }

void RecordGrid::AttachFile(AccountFile *file) {
  if (file == file_)
    return;
  if (file_)
    file_->UnregisterGrid(this);
  if (file)
    file->RegisterGrid(this);
}
