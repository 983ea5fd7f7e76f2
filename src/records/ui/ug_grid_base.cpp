// The general base of the ledger's grids.
#include "records/ui/ug_grid_base.h"

CUGGridBase::CUGGridBase() { OnSetup(); }

CUGGridBase::~CUGGridBase() = default;

void CUGGridBase::OnSetup() {
  SetSH_Width(50);
  SetDefRowHeight(25);
  SetMultiSelectMode(true);
}

bool CUGGridBase::OnEditStart(int col, int row, QChar) {
  if (col < 0 || row < 0 || IsReadOnly(col, row))
    return false;
  switch (QuickGetCellType(col, row)) {
  case CT_TEXT:
    return GetParam(col, row) == kTextCellMark;
  case CT_DROPLIST:
  case CT_DATETIME:
    return true;
  default:
    return false;
  }
}
