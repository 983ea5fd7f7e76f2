// Applying import rules to the lines of a statement. The rules are tried in
// order; for each target column the first rule that matches sets it, and
// later rules for that column are not tried. A rule whose source column is
// not in the statement, or which does not fit the file's columns, never
// matches.
//
// Texts are compared after folding both sides the same way: full-width
// forms become half-width (ＫＦＣ is KFC, the ideographic space a blank),
// letters lose their case, and blanks around the whole text are ignored.
// Chinese texts compare as they are; there is no folding of simplified and
// traditional characters.
//
// The rules are prepared once for the statement's header and the file's
// columns (each rule's source index, target position, folded text and
// stored value); a line then costs one fold per source column the rules
// read, into buffers that are kept from line to line.
#pragma once

#include "exchange/import_rule.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <vector>

class ColumnList;
struct ImportMapping;
struct SourceLine;

class ImportRules {
public:
  ImportRules() = default;
  explicit ImportRules(QList<ImportRule> rules);

  const QList<ImportRule> &List() const { return rules_; }
  bool IsEmpty() const { return rules_.isEmpty(); }

  // Sets the texts (one per column of columns, as ConvertLine makes them)
  // that the rules give for fields, a line of the statement whose header is
  // headers; set, when given, gets the positions set, in column order.
  // Counts, for each rule, the lines whose column it set.
  void Apply(const QStringList &headers, const QStringList &fields,
             const ColumnList &columns, QStringList *texts,
             QList<int> *set = nullptr) const;

  // The lines whose column the rule at index set since the last reset.
  int Matches(qsizetype index) const;
  void ResetMatches() const;

private:
  struct Prepared {
    int rule;     // index in rules_
    int source;   // index in sources_
    int position; // target column
    RuleCondition condition;
    QString text; // folded
    QString value; // as stored
  };

  void Prepare(const QStringList &headers, const ColumnList &columns) const;
  // The folded field of source i of the current line.
  const QString &Folded(int source, const QStringList &fields) const;

  QList<ImportRule> rules_;
  // What the prepared rules were made for.
  mutable QStringList headers_;
  mutable const ColumnList *columns_ = nullptr;
  mutable int columnCount_ = -1;
  mutable std::vector<Prepared> prepared_;
  // Header indexes of the source columns the prepared rules read, and per
  // line their folded fields (valid when folded_ is set).
  mutable std::vector<int> sources_;
  mutable std::vector<QString> foldedTexts_;
  mutable std::vector<char> folded_;
  mutable std::vector<char> targetSet_;
  mutable std::vector<int> matches_;
};

// Folds text as rules compare it (see above) into out, reusing its memory.
void FoldRuleText(QStringView text, QString &out);

// The rule "记住此分类" makes after the user changed the cell at position to
// value in the preview of line: the line's counterparty (交易对方 or a
// bank's name of it) equals this one's, else the source column mapped to
// the first text column that is filled in that line. False when the line
// has none of them.
bool RuleFromChangedCell(const QStringList &headers, const SourceLine &line,
                         const ImportMapping &mapping,
                         const ColumnList &columns, int position,
                         const QString &value, ImportRule *rule);
