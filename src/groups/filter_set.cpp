// Finding and adding the conditions of a saved filter set.
#include "groups/filter_set.h"

#include <cstring>

namespace {

bool SameBits(double a, double b) { return std::memcmp(&a, &b, sizeof a) == 0; }

} // namespace

bool FilterCondition::operator==(const FilterCondition &other) const {
  if (enabled != other.enabled || kind != other.kind ||
      fieldName != other.fieldName || texts != other.texts ||
      integers != other.integers || numbers.size() != other.numbers.size())
    return false;
  for (qsizetype i = 0; i < numbers.size(); ++i)
    if (!SameBits(numbers[i], other.numbers[i]))
      return false;
  return true;
}

FilterCondition *FilterSet::Find(const QString &fieldName, int kind) {
  for (FilterCondition &condition : conditions)
    if (condition.kind == kind &&
        condition.fieldName.compare(fieldName, Qt::CaseInsensitive) == 0)
      return &condition;
  return nullptr;
}

const FilterCondition *FilterSet::Find(const QString &fieldName,
                                       int kind) const {
  return const_cast<FilterSet *>(this)->Find(fieldName, kind);
}

bool FilterSet::Add(const FilterCondition &condition) {
  if (Find(condition.fieldName, condition.kind))
    return false;
  conditions.append(condition);
  return true;
}
