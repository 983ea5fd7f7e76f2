// The import rules of an account file, kept in its table ImportRule (in the
// templates; the schema upgrade adds it to older files) in their order, so
// that they travel with the file.
// Every change is one unit of work; a file opened for viewing refuses it
// with the usual read-only message, and a rule that does not fit the file's
// columns (RuleProblem) is refused with its reason. Refusals and failures
// are shown through the prompt.
#pragma once

#include "exchange/import_rule.h"

#include <QList>

class AccountFile;
class ImportRules;

// The rules of file in order; none when the file has no rule table (an
// older file opened for viewing).
QList<ImportRule> LoadImportRules(AccountFile &file);

// Adds rule after the last one; its ID goes to rule.id.
bool AddImportRule(AccountFile &file, ImportRule &rule);
// Rewrites the condition and setting of the rule with rule.id.
bool UpdateImportRule(AccountFile &file, const ImportRule &rule);
// Swaps the rule with the one before it (step -1) or after it (step 1);
// false when there is none there.
bool MoveImportRule(AccountFile &file, int id, int step);
bool DeleteImportRule(AccountFile &file, int id);
// A rule made from a cell the user changed: when a rule with the same
// condition and target exists, its value changes; otherwise the rule comes
// first, before broader rules that would otherwise win over it.
bool RememberImportRule(AccountFile &file, ImportRule &rule);

// Keeps how many lines of the import that just ran each rule set (the
// counts of rules, whose rules are those of the file).
bool SaveImportRuleMatches(AccountFile &file, const ImportRules &rules);
