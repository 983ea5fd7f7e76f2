// Reading and writing the miscellaneous row.
#include "model/misc_settings.h"

#include "db/db_visiter.h"
#include "model/sql_text.h"

namespace {

// A statement whose format takes the tip ('%s') and the three switches
// (%d) in the order of the struct.
QString SettingsStatement(const char *format, const MiscSettings &settings) {
  return QString::asprintf(format, QuotedSqlArg(settings.mainShowTip).constData(),
                           settings.gridAutoSize ? 1 : 0,
                           settings.expandColumnsToFit ? 1 : 0,
                           settings.showLastLine ? 1 : 0);
}

} // namespace

bool HasMiscSettings(CDBVisiter &session) {
  return session.Query(QStringLiteral("Select * From miscellaneous")) > 0;
}

MiscSettings LoadMiscSettings(CDBVisiter &session) {
  MiscSettings settings;
  if (!HasMiscSettings(session))
    return settings;
  settings.mainShowTip = session.GetString(QStringLiteral("MainShowTip"));
  settings.gridAutoSize = session.GetBool(QStringLiteral("bGridAutoSize"));
  settings.expandColumnsToFit =
      session.GetBool(QStringLiteral("bExpandColumnsToFit"));
  settings.showLastLine = session.GetBool(QStringLiteral("bShowLastLine"));
  return settings;
}

bool UpdateMiscSettings(CDBVisiter &session, const MiscSettings &settings) {
  return session.Execute(SettingsStatement(
      "Update miscellaneous Set MainShowTip='%s', bGridAutoSize=%d, "
      "bExpandColumnsToFit=%d, bShowLastLine=%d",
      settings));
}

bool SaveMiscSettings(CDBVisiter &session, const MiscSettings &settings) {
  if (HasMiscSettings(session))
    return UpdateMiscSettings(session, settings);
  return session.Execute(SettingsStatement(
      "Insert Into miscellaneous (MainShowTip, bGridAutoSize, "
      "bExpandColumnsToFit, bShowLastLine) Values ('%s', %d, %d, %d)",
      settings));
}
