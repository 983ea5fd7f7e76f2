// Field-name patterns over Boost.Regex with ICU.
#include "formula/field_pattern.h"

#include <QHash>

#include <boost/regex/icu.hpp>
#include <unicode/uchar.h>

#include <exception>
#include <vector>

using CodePoints = std::vector<UChar32>;

struct FieldPattern::Compiled {
  boost::u32regex regex;
  // The name in lower case, as the regex compares letters when it ignores
  // case: a text that does not hold it cannot match.
  CodePoints lowered;
};

namespace {

// The text as code points. A surrogate without its partner is kept as a code
// point of its own rather than refused, so no text can make matching fail.
CodePoints ToCodePoints(const QString &text) {
  CodePoints out;
  out.reserve(size_t(text.size()));
  for (qsizetype i = 0; i < text.size(); ++i) {
    const char16_t unit = text[i].unicode();
    if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
        text[i + 1].isLowSurrogate()) {
      out.push_back(UChar32(QChar::surrogateToUcs4(unit, text[i + 1].unicode())));
      ++i;
      continue;
    }
    out.push_back(UChar32(unit));
  }
  return out;
}

void AppendCodePoints(QString &out, const UChar32 *first, const UChar32 *last) {
  for (; first != last; ++first) {
    const char32_t c = char32_t(*first);
    if (c > 0xFFFF) {
      out.append(QChar(QChar::highSurrogate(c)));
      out.append(QChar(QChar::lowSurrogate(c)));
      continue;
    }
    out.append(QChar(char16_t(c)));
  }
}

// The name with every ASCII character other than a letter, digit or "_"
// written as a hexadecimal escape, which always stands for that character
// alone (a backslash before punctuation would not do: in this syntax \< and
// \> are word boundaries). No other character has a meaning of its own.
CodePoints EscapedName(const QString &name) {
  static const char kHex[] = "0123456789ABCDEF";
  CodePoints out;
  for (const UChar32 unit : ToCodePoints(name)) {
    const bool plain = unit > 0x7F || unit == u'_' ||
                       (unit >= u'0' && unit <= u'9') ||
                       (unit >= u'a' && unit <= u'z') ||
                       (unit >= u'A' && unit <= u'Z');
    if (plain) {
      out.push_back(unit);
      continue;
    }
    for (const char c : {'\\', 'x', '{'})
      out.push_back(c);
    out.push_back(kHex[unit >> 4]);
    out.push_back(kHex[unit & 0xF]);
    out.push_back(u'}');
  }
  return out;
}

void Append(CodePoints &out, const char16_t *text) {
  for (; *text; ++text)
    out.push_back(UChar32(*text));
}

// The compiled pattern of a name; null when it cannot be built, which does
// not happen for an escaped name.
std::shared_ptr<const FieldPattern::Compiled>
CompilePattern(const QString &fieldName) {
  // The name, then no word letter. The letter before it is checked by
  // FindWhole: a pattern that starts with a look-behind must be tried at every
  // position, one that starts with the name only where the name can begin.
  CodePoints pattern = EscapedName(fieldName);
  Append(pattern, u"(?![\\w])");
  CodePoints lowered = ToCodePoints(fieldName);
  for (UChar32 &c : lowered)
    c = u_tolower(c);
  try {
    return std::make_shared<const FieldPattern::Compiled>(FieldPattern::Compiled{
        boost::make_u32regex(pattern.data(), pattern.data() + pattern.size(),
                             boost::regex::perl | boost::regex::icase),
        std::move(lowered)});
  } catch (const std::exception &) {
    return nullptr;
  }
}

// Whether the text holds the lowered name anywhere, letters compared in
// lower case: a quick test that spares the regex most short texts.
bool MayHold(const CodePoints &text, const CodePoints &lowered) {
  if (lowered.empty() || text.size() < lowered.size())
    return false;
  const std::size_t last = text.size() - lowered.size();
  for (std::size_t i = 0; i <= last; ++i) {
    std::size_t k = 0;
    while (k < lowered.size() && u_tolower(text[i + k]) == lowered[k])
      ++k;
    if (k == lowered.size())
      return true;
  }
  return false;
}

// The first whole occurrence of the pattern in [from, end), where begin is
// the start of the text; false when there is none. Rather than \b on each
// side, the name is whole when no word letter touches it: for a name that
// begins and ends with a word letter that is the same, and a name ending in,
// say, ")" still matches itself before an operator.
bool FindWhole(const boost::u32regex &regex, const UChar32 *begin,
               const UChar32 *from, const UChar32 *end,
               boost::match_results<const UChar32 *> &match) {
  while (from != end) {
    if (!boost::u32regex_search(from, end, match, regex))
      return false;
    const UChar32 *start = match[0].first;
    if (start == begin || !IsFieldWordLetter(char32_t(start[-1])))
      return true;
    from = start + 1;
  }
  return false;
}

} // namespace

bool IsFieldWordLetter(char32_t c) {
  static const boost::icu_regex_traits traits;
  static const UChar32 kWord[] = {U'w'};
  static const boost::icu_regex_traits::char_class_type word =
      traits.lookup_classname(kWord, kWord + 1);
  return traits.isctype(UChar32(c), word);
}

FieldPattern::FieldPattern(const QString &fieldName) {
  if (fieldName.isEmpty())
    return;
  // Column names are few; the bound only keeps odd callers from growing the
  // cache without end.
  constexpr qsizetype kCacheLimit = 1024;
  thread_local QHash<QString, std::shared_ptr<const Compiled>> cache;
  const auto found = cache.constFind(fieldName);
  if (found != cache.constEnd()) {
    compiled_ = found.value();
    return;
  }
  if (cache.size() >= kCacheLimit)
    cache.clear();
  compiled_ = CompilePattern(fieldName);
  cache.insert(fieldName, compiled_);
}

bool FieldPattern::FoundIn(const QString &text) const {
  if (!compiled_)
    return false;
  const CodePoints points = ToCodePoints(text);
  if (!MayHold(points, compiled_->lowered))
    return false;
  const UChar32 *begin = points.data();
  boost::match_results<const UChar32 *> match;
  try {
    return FindWhole(compiled_->regex, begin, begin, begin + points.size(), match);
  } catch (const std::exception &) {
    return false;
  }
}

// The replacement goes in exactly as given: it is a cell's value, and "$1"
// or a backslash in it must not be read as a format.
QString FieldPattern::ReplaceIn(const QString &text,
                                const QString &replacement, qsizetype limit,
                                bool *tooLong) const {
  if (!compiled_)
    return text;
  const CodePoints points = ToCodePoints(text);
  if (!MayHold(points, compiled_->lowered))
    return text;
  const UChar32 *begin = points.data();
  const UChar32 *end = begin + points.size();
  QString out;
  const UChar32 *copied = begin;
  boost::match_results<const UChar32 *> match;
  try {
    while (FindWhole(compiled_->regex, begin, copied, end, match)) {
      if (match[0].first == match[0].second)
        break; // a name never matches empty, but nothing may loop here
      AppendCodePoints(out, copied, match[0].first);
      out += replacement;
      copied = match[0].second;
      if (limit >= 0 && out.size() > limit && out.size() > text.size()) {
        if (tooLong)
          *tooLong = true;
        return text;
      }
    }
  } catch (const std::exception &) {
    return text;
  }
  if (copied == begin)
    return text;
  AppendCodePoints(out, copied, end);
  if (limit >= 0 && out.size() > limit && out.size() > text.size()) {
    if (tooLong)
      *tooLong = true;
    return text;
  }
  return out;
}
