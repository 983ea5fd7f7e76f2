// Reading and writing the clipboard's tab-separated layout of cells.
#include "widgets/clipboard_text.h"

QString QuoteClipboardCell(const QString &text) {
  if (!text.contains(QLatin1Char('\t')) && !text.contains(QLatin1Char('\n')) &&
      !text.contains(QLatin1Char('\r')) && !text.contains(QLatin1Char('"')))
    return text;
  QString quoted = text;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

std::vector<QStringList> ParseClipboardText(const QString &text) {
  std::vector<QStringList> rows;
  QStringList row;
  QString cell;
  bool cellStarted = false;
  qsizetype i = 0;
  const qsizetype n = text.size();
  auto endCell = [&] {
    row.append(cell);
    cell.clear();
    cellStarted = false;
  };
  auto endRow = [&] {
    endCell();
    rows.push_back(row);
    row.clear();
  };
  while (i < n) {
    const QChar c = text.at(i);
    if (c == QLatin1Char('"') && !cellStarted) {
      // A quoted cell runs to the next quote not doubled.
      ++i;
      while (i < n) {
        if (text.at(i) == QLatin1Char('"')) {
          if (i + 1 < n && text.at(i + 1) == QLatin1Char('"')) {
            cell += QLatin1Char('"');
            i += 2;
            continue;
          }
          ++i;
          break;
        }
        cell += text.at(i++);
      }
      cellStarted = true;
      continue;
    }
    if (c == QLatin1Char('\t')) {
      endCell();
      ++i;
      continue;
    }
    if (c == QLatin1Char('\r') || c == QLatin1Char('\n')) {
      endRow();
      i += (c == QLatin1Char('\r') && i + 1 < n &&
            text.at(i + 1) == QLatin1Char('\n'))
               ? 2
               : 1;
      continue;
    }
    cell += c;
    cellStarted = true;
    ++i;
  }
  if (cellStarted || !row.isEmpty())
    endRow();
  return rows;
}
