// The built household template, copied for a benchmark to fill.
#pragma once

#include <QString>

// The template as the build puts it beside the programs.
QString HouseholdTemplate();
// Copies the template to path, replacing any file there, and makes the copy
// writable; whether it worked.
bool CopyHouseholdTemplate(const QString &path);
