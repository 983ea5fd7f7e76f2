// Applying import rules to statement lines; see import_rules.h.
#include "exchange/import_rules.h"

#include "exchange/import_mapping.h"
#include "model/column_list.h"

#include <algorithm>

namespace {

// How the statements of banks and payment services name the other side of
// a payment.
const char16_t *const kCounterparties[] = {u"交易对方", u"对方户名",
                                           u"对方名称", u"对方账户名称",
                                           u"商户名称"};

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t' || c == 0x3000; }

bool Holds(RuleCondition condition, const QString &field,
           const QString &text) {
  switch (condition) {
  case RuleCondition::Equals:
    return field == text;
  case RuleCondition::StartsWith:
    return field.startsWith(text);
  case RuleCondition::Contains:
    break;
  }
  return field.contains(text);
}

// The trimmed field of header name in line; empty when there is none.
QString FieldOf(const QStringList &headers, const SourceLine &line,
                const QString &name) {
  const qsizetype index = name.isEmpty() ? -1 : headers.indexOf(name);
  return index >= 0 ? line.fields.value(index).trimmed() : QString();
}

} // namespace

void FoldRuleText(QStringView text, QString &out) {
  qsizetype begin = 0, end = text.size();
  while (begin < end && IsBlank(text[begin].unicode()))
    ++begin;
  while (end > begin && IsBlank(text[end - 1].unicode()))
    --end;
  out.resize(end - begin);
  QChar *to = out.data();
  for (qsizetype i = begin; i < end; ++i) {
    char16_t c = text[i].unicode();
    if (c >= 0xFF01 && c <= 0xFF5E)
      c = char16_t(c - 0xFEE0);
    else if (c == 0x3000)
      c = u' ';
    if (c >= u'A' && c <= u'Z')
      c = char16_t(c + 32);
    else if (c >= 0x80 && c < 0x2000)
      c = char16_t(QChar::toCaseFolded(char32_t(c))); // Latin, Greek, Cyrillic
    *to++ = QChar(c);
  }
}

ImportRules::ImportRules(QList<ImportRule> rules)
    : rules_(std::move(rules)), matches_(size_t(rules_.size()), 0) {}

void ImportRules::Prepare(const QStringList &headers,
                          const ColumnList &columns) const {
  headers_ = headers;
  columns_ = &columns;
  columnCount_ = columns.Size();
  prepared_.clear();
  sources_.clear();
  for (qsizetype i = 0; i < rules_.size(); ++i) {
    const ImportRule &rule = rules_[i];
    const qsizetype header = headers.indexOf(rule.source);
    if (header < 0 || !RuleProblem(columns, rule).isEmpty())
      continue;
    QString problem;
    Prepared prepared;
    prepared.rule = int(i);
    prepared.position = RulePositionOf(columns, rule.field);
    prepared.condition = rule.condition;
    FoldRuleText(rule.text, prepared.text);
    prepared.value =
        RuleValueText(columns, prepared.position, rule.value, &problem);
    const auto known = std::find(sources_.begin(), sources_.end(), header);
    prepared.source = int(known - sources_.begin());
    if (known == sources_.end())
      sources_.push_back(int(header));
    prepared_.push_back(std::move(prepared));
  }
  foldedTexts_.resize(sources_.size());
  folded_.assign(sources_.size(), 0);
  targetSet_.assign(size_t(columnCount_), 0);
}

const QString &ImportRules::Folded(int source,
                                   const QStringList &fields) const {
  QString &text = foldedTexts_[size_t(source)];
  if (!folded_[size_t(source)]) {
    const int index = sources_[size_t(source)];
    FoldRuleText(index < fields.size() ? QStringView(fields.at(index))
                                       : QStringView(),
                 text);
    folded_[size_t(source)] = 1;
  }
  return text;
}

void ImportRules::Apply(const QStringList &headers, const QStringList &fields,
                        const ColumnList &columns, QStringList *texts,
                        QList<int> *set) const {
  if (set)
    set->clear();
  if (rules_.isEmpty())
    return;
  if (columns_ != &columns || columnCount_ != columns.Size() ||
      headers_ != headers)
    Prepare(headers, columns);
  std::fill(folded_.begin(), folded_.end(), 0);
  std::fill(targetSet_.begin(), targetSet_.end(), 0);
  for (const Prepared &rule : prepared_) {
    char &taken = targetSet_[size_t(rule.position)];
    if (taken || !Holds(rule.condition, Folded(rule.source, fields),
                          rule.text))
      continue;
    taken = 1;
    ++matches_[size_t(rule.rule)];
    if (rule.position < texts->size())
      (*texts)[rule.position] = rule.value;
  }
  if (!set)
    return;
  for (size_t i = 0; i < targetSet_.size(); ++i)
    if (targetSet_[i])
      set->append(int(i));
}

int ImportRules::Matches(qsizetype index) const {
  return index >= 0 && size_t(index) < matches_.size()
             ? matches_[size_t(index)]
             : 0;
}

void ImportRules::ResetMatches() const {
  std::fill(matches_.begin(), matches_.end(), 0);
}

bool RuleFromChangedCell(const QStringList &headers, const SourceLine &line,
                         const ImportMapping &mapping,
                         const ColumnList &columns, int position,
                         const QString &value, ImportRule *rule) {
  QString source, text;
  for (const char16_t *name : kCounterparties) {
    text = FieldOf(headers, line, QString::fromUtf16(name));
    if (!text.isEmpty()) {
      source = QString::fromUtf16(name);
      break;
    }
  }
  for (int i = 0; source.isEmpty() && i < columns.Size(); ++i) {
    if (i == position || !IsTextType(columns.Type(i)))
      continue;
    const QString mapped = mapping.SourceOf(columns.FieldName(i));
    text = FieldOf(headers, line, mapped);
    if (!text.isEmpty())
      source = mapped;
  }
  if (source.isEmpty() || !columns.IsValid(position))
    return false;
  *rule = ImportRule();
  rule->source = source;
  rule->condition = RuleCondition::Equals;
  rule->text = text;
  rule->field = columns.FieldName(position);
  rule->value = value;
  return true;
}
