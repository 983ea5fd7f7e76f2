// Texts of the chart widgets.
#include "analysis/chart_texts.h"

#include "analysis/bar_series.h"

#include <cmath>

QString BarChartTitle(const BarSeries &series) {
  const QString title = QStringLiteral("按月汇总");
  QStringList notes;
  for (const QString &note : {series.side, UnreadableDatesNote(series)})
    if (!note.isEmpty())
      notes.append(note);
  if (notes.isEmpty())
    return title;
  return title + QStringLiteral("（") + notes.join(QStringLiteral("；")) +
         QStringLiteral("）");
}

double BarPercent(double value, double maxValue) {
  if (maxValue == 0)
    return 0;
  const double percent = value / maxValue * 100;
  return std::isfinite(percent) ? percent : 0;
}

QString BarTipText(const QString &label, double value, double maxValue) {
  return QString::asprintf("%s\n%0.04f\n%0.02f%%\n", label.toUtf8().constData(),
                           value, BarPercent(value, maxValue));
}

QString PieSliceName(const QString &label, double sum) {
  return QString::asprintf("%s[%.2f]", label.toUtf8().constData(), sum);
}

QString PieShareText(double value, double total) {
  const double share = total == 0 ? 0 : value / total * 100;
  return QString::asprintf("%.2f%%", std::isfinite(share) ? share : 0.0);
}
