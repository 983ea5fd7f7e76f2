// The lines of a checked statement; see import_check.h.
#include "exchange/import_check.h"

#include <algorithm>

int ImportCheck::Count(LineState state) const {
  return int(std::count_if(lines.cbegin(), lines.cend(),
                           [state](const CheckedLine &line) {
                             return line.state == state;
                           }));
}

QSet<int> ImportCheck::TickedLines() const {
  QSet<int> ticked;
  for (const CheckedLine &line : lines)
    if (line.ticked)
      ticked.insert(line.lineNumber);
  return ticked;
}
