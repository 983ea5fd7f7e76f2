// The miscellaneous row of an account file: the main show tip and the three
// switches of the records grid.
#pragma once

#include <QString>

class CDBVisiter;

struct MiscSettings {
  QString mainShowTip;
  bool gridAutoSize = true;
  bool expandColumnsToFit = false;
  bool showLastLine = true;
};

// Reads "Select * From miscellaneous"; the defaults above when there is no row.
MiscSettings LoadMiscSettings(CDBVisiter &session);
// Whether the file has the row.
bool HasMiscSettings(CDBVisiter &session);
// "Update miscellaneous Set MainShowTip='%s', bGridAutoSize=%d, ..."
bool UpdateMiscSettings(CDBVisiter &session, const MiscSettings &settings);
// Updates the row, or inserts it when the file has none.
bool SaveMiscSettings(CDBVisiter &session, const MiscSettings &settings);
