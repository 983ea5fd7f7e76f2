// The commands the main window passes to the active page of the active
// document window.
#pragma once

enum PageCommandId {
  PC_UNDO,
  PC_REDO,
  PC_CUT,
  PC_COPY,
  PC_PASTE,
  PC_DELETE,
  PC_FIND,
  PC_REFRESH,
  PC_PRINT_SETUP,
  PC_PRINT,
  PC_PRINT_PREVIEW,
};
