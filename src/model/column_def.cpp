// Width minimum and choice list of a column definition.
#include "model/column_def.h"

void ColumnDef::ApplyWidthMinimum() {
  const int minimum = type == FT_KEY ? 40 : 10;
  if (width < minimum)
    width = minimum;
}

QStringList ColumnDef::Choices() const { return SplitChoices(options); }

QStringList SplitChoices(const QString &options) {
  return options.split(QLatin1Char('|'), Qt::SkipEmptyParts);
}
