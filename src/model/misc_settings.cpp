// Reading and writing the miscellaneous row.
#include "model/misc_settings.h"

#include "db/db_visiter.h"
#include "model/sql_text.h"

MiscSettings LoadMiscSettings(CDBVisiter &session) {
  MiscSettings settings;
  if (session.Query(QStringLiteral("Select * From miscellaneous")) == 0)
    return settings;
  settings.mainShowTip = session.GetString(QStringLiteral("MainShowTip"));
  settings.gridAutoSize = session.GetBool(QStringLiteral("bGridAutoSize"));
  settings.expandColumnsToFit =
      session.GetBool(QStringLiteral("bExpandColumnsToFit"));
  settings.showLastLine = session.GetBool(QStringLiteral("bShowLastLine"));
  return settings;
}

bool UpdateMiscSettings(CDBVisiter &session, const MiscSettings &settings) {
  return session.Execute(QString::asprintf(
      "Update miscellaneous Set MainShowTip='%s', bGridAutoSize=%d, "
      "bExpandColumnsToFit=%d, bShowLastLine=%d",
      QuotedSqlArg(settings.mainShowTip).constData(),
      settings.gridAutoSize ? 1 : 0, settings.expandColumnsToFit ? 1 : 0,
      settings.showLastLine ? 1 : 0));
}
