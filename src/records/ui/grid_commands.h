// The command IDs of the records page: its menu entries, keys and the grid's
// pop-up menu carry them (as QAction data).
#pragma once

enum RecordsCommandId {
  ID_EDIT_UNDO = 57643,
  ID_EDIT_REDO = 57644,
  ID_EDIT_CUT = 57635,
  ID_EDIT_COPY = 57634,
  ID_EDIT_PASTE = 57637,
  ID_EDIT_DELETE = 32788,
  ID_GRID_REFRESH = 32790,
  ID_EDIT_FIND = 57636,
  ID_MAKE_RECURRING = 32791,
};

// The flags of a find request.
enum FindFlag : unsigned {
  FR_DOWN = 0x1,      // search toward the bottom
  FR_WHOLEWORD = 0x2, // the cell's whole text must match
  FR_MATCHCASE = 0x4, // letter case counts
};
