// The user's ticks and edits over a checked statement; see import_preview.h.
#include "exchange/import_preview.h"

#include "exchange/import_rule.h"
#include "model/column_list.h"
#include "records/typed_value.h"

void ImportPreview::SetCheck(ImportCheck check) {
  check_ = std::move(check);
  for (CheckedLine &line : check_.lines) {
    if (line.state == LineState::Bad)
      continue;
    const auto tick = ticks_.constFind(line.lineNumber);
    if (tick != ticks_.constEnd())
      line.ticked = *tick;
  }
  if (edits_.isEmpty())
    return;
  for (CheckedLine &line : check_.lines) {
    if (line.state == LineState::Bad)
      continue;
    for (int position = 0; position < line.texts.size(); ++position) {
      const auto edit = edits_.constFind({line.lineNumber, position});
      if (edit != edits_.constEnd())
        line.texts[position] = *edit;
    }
  }
}

bool ImportPreview::SetTicked(int row, bool ticked) {
  CheckedLine &line = check_.lines[size_t(row)];
  if (line.state == LineState::Bad)
    return false;
  line.ticked = ticked;
  ticks_.insert(line.lineNumber, ticked);
  return true;
}

QSet<int> ImportPreview::TickedLines() const { return check_.TickedLines(); }

bool ImportPreview::Edit(const ColumnList &columns, int row, int position,
                         const QString &text, QString *refusal) {
  CheckedLine &line = check_.lines[size_t(row)];
  if (line.state == LineState::Bad || position < 0 ||
      position >= line.texts.size())
    return false;
  *refusal = TypedValueRefusal(columns, position, text);
  if (!refusal->isEmpty())
    return false;
  // Stored as a rule would store it (a date in the stored form), else as
  // typed.
  QString problem;
  QString stored = RuleValueText(columns, position, text, &problem);
  if (stored.isNull())
    stored = text;
  // An editor closed on the same text changes nothing.
  if (stored == line.texts[position])
    return true;
  line.texts[position] = stored;
  edits_.insert({line.lineNumber, position}, stored);
  return true;
}

bool ImportPreview::Edited(int row, int position) const {
  return edits_.contains({Line(row).lineNumber, position});
}

bool ImportPreview::SetByRule(int row, int position) const {
  return Line(row).ruleSet.contains(position);
}

QString ImportPreview::CountsText() const {
  return QStringLiteral("新 %1，重复 %2，跳过 %3，错误 %4，将导入 %5")
      .arg(check_.Count(LineState::New))
      .arg(check_.Count(LineState::Duplicate))
      .arg(check_.Count(LineState::Skipped))
      .arg(check_.Count(LineState::Bad))
      .arg(TickedLines().size());
}
