// Field-name substitution over pieces of text.
#include "formula/row_substitution.h"

#include "formula/field_pattern.h"
#include "formula/math_grammar.h"
#include "formula/plain_number.h"

#include <unicode/uchar.h>

#include <array>

namespace {

const QString &Zero() {
  static const QString zero = QStringLiteral("0");
  return zero;
}

char16_t AsciiLower(char16_t c) {
  return c >= u'A' && c <= u'Z' ? char16_t(c + (u'a' - u'A')) : c;
}

bool IsWord(char32_t c) {
  static const std::array<bool, 128> ascii = [] {
    std::array<bool, 128> table{};
    for (char32_t k = 0; k < 128; ++k)
      table[k] = IsFieldWordLetter(k);
    return table;
  }();
  return c < 128 ? ascii[c] : IsFieldWordLetter(c);
}

// Whether a pattern that ignores case pairs c with nothing but itself (and
// an ASCII letter with its other case), so that comparing ASCII-lowered
// texts gives the pattern's answer. Letters with a case outside ASCII are
// left to the patterns; Chinese letters have none.
bool IsCaseSafe(char32_t c) {
  if (c < 0x80)
    return true;
  const UChar32 u = UChar32(c);
  return u_foldCase(u, U_FOLD_CASE_DEFAULT) == u && u_tolower(u) == u;
}

// The code point at i and its length in UTF-16 units; a surrogate without
// its partner stands for itself, as the patterns take it.
char32_t CodePointAt(const QString &text, qsizetype i, qsizetype *units) {
  const char16_t unit = text[i].unicode();
  if (QChar::isHighSurrogate(unit) && i + 1 < text.size() &&
      text[i + 1].isLowSurrogate()) {
    *units = 2;
    return QChar::surrogateToUcs4(unit, text[i + 1].unicode());
  }
  *units = 1;
  return unit;
}

bool SameWord(QStringView word, const QString &key) {
  if (word.size() != key.size())
    return false;
  for (qsizetype k = 0; k < word.size(); ++k)
    if (AsciiLower(word[k].unicode()) != key[k].unicode())
      return false;
  return true;
}

// Whether a lower-case name could be a word of a plain number (12, 5e3).
bool CouldBeNumberWord(const QString &key) {
  for (const QChar c : key)
    if (!(c.unicode() >= u'0' && c.unicode() <= u'9') && c != QLatin1Char('e'))
      return false;
  return true;
}

} // namespace

bool RowSubstitution::ReadNames() {
  // The rows of a file have the same names from one row to the next: what
  // was made of them last time on this thread is taken again.
  thread_local std::vector<QString> lastFields;
  thread_local std::vector<QString> lastNames;
  thread_local bool lastRead = false;
  const size_t n = size_t(items_->size());
  bool same = lastFields.size() == n;
  for (size_t k = 0; same && k < n; ++k)
    same = lastFields[k] == (*items_)[qsizetype(k)].fieldName;
  if (same) {
    names_ = lastNames;
    return lastRead;
  }
  lastRead = MakeNames();
  lastFields.resize(n);
  for (size_t k = 0; k < n; ++k)
    lastFields[k] = (*items_)[qsizetype(k)].fieldName;
  lastNames = names_;
  return lastRead;
}

bool RowSubstitution::MakeNames() {
  const size_t n = size_t(items_->size());
  names_.assign(n, QString());
  for (size_t k = 0; k < n; ++k) {
    const QString &name = (*items_)[qsizetype(k)].fieldName;
    if (name.isEmpty())
      continue; // no pattern: the name is found nowhere
    QString key;
    key.reserve(name.size());
    for (qsizetype i = 0; i < name.size();) {
      qsizetype units = 1;
      const char32_t c = CodePointAt(name, i, &units);
      if (!IsWord(c) || !IsCaseSafe(c))
        return false;
      for (qsizetype u = 0; u < units; ++u)
        key.append(QChar(AsciiLower(name[i + u].unicode())));
      i += units;
    }
    // A plain number's digits must never be taken for a name.
    if (CouldBeNumberWord(key))
      return false;
    for (size_t m = 0; m < k; ++m)
      if (names_[m] == key)
        return false;
    names_[k] = key;
  }
  return true;
}

int RowSubstitution::FindName(QStringView word) const {
  for (size_t k = 0; k < names_.size(); ++k)
    if (!names_[k].isEmpty() && SameWord(word, names_[k]))
      return int(k);
  return -1;
}

bool RowSubstitution::IsPlain(int item) {
  Plain &plain = plain_[size_t(item)];
  if (plain == Plain::Unknown) {
    double value = 0;
    plain = ParsePlainNumber((*items_)[item].text, &value) ? Plain::Yes
                                                            : Plain::No;
    numbers_[size_t(item)] = value;
  }
  return plain == Plain::Yes;
}

bool RowSubstitution::Tokenize(const QString &text, TextPieces &out) const {
  const QStringView view(text);
  const qsizetype n = text.size();
  qsizetype textStart = 0; // start of the text not yet given a piece
  qsizetype i = 0;
  while (i < n) {
    qsizetype units = 1;
    char32_t c = CodePointAt(text, i, &units);
    if (c == char32_t(kNumberSlot) || !IsCaseSafe(c))
      return false;
    if (!IsWord(c)) {
      i += units;
      continue;
    }
    const qsizetype start = i;
    for (i += units; i < n; i += units) {
      c = CodePointAt(text, i, &units);
      if (!IsWord(c))
        break;
      if (!IsCaseSafe(c))
        return false;
    }
    const QStringView word = view.mid(start, i - start);
    const int item = FindName(word);
    if (item < 0)
      continue;
    if (start > textStart)
      out.push_back({TextPiece::Kind::Text, -1,
                     view.mid(textStart, start - textStart)});
    out.push_back({TextPiece::Kind::Name, item, word});
    textStart = i;
  }
  if (n > textStart)
    out.push_back({TextPiece::Kind::Text, -1, view.mid(textStart)});
  return true;
}

const TextPieces *RowSubstitution::Current(int i) {
  const size_t k = size_t(i);
  if (split_[k])
    return &pieces_[k];
  const QString &text = (*items_)[i].text;
  pieces_[k].clear();
  if (IsPlain(i))
    pieces_[k].push_back({TextPiece::Kind::Number, i, QStringView()});
  else if (!Tokenize(text, pieces_[k]))
    return nullptr;
  lengths_[k] = text.size();
  split_[k] = true;
  return &pieces_[k];
}

// One replacement of step 1: every occurrence of item i's name in target
// j's text becomes i's text as it is now. False when the text would outgrow
// the limit, which the text substitution handles on its own.
bool RowSubstitution::ReplaceName(int i, qsizetype j) {
  TextPieces &target = pieces_[size_t(j)];
  qsizetype count = 0;
  qsizetype nameLength = 0;
  for (const TextPiece &piece : target) {
    if (piece.kind == TextPiece::Kind::Name && piece.item == i) {
      ++count;
      nameLength = piece.text.size();
    }
  }
  if (count == 0)
    return true;
  const TextPieces *value = Current(i);
  if (!value)
    return false;
  TextPieces own;
  if (i == j) { // the text is replaced into itself: take it as it was
    own = *value;
    value = &own;
  }
  const qsizetype before = lengths_[size_t(j)];
  const qsizetype after = before + count * (lengths_[size_t(i)] - nameLength);
  if (after > kSubstitutedLimit && after > before)
    return false;
  TextPieces out;
  out.reserve(target.size() + size_t(count) * value->size());
  for (const TextPiece &piece : target) {
    if (piece.kind == TextPiece::Kind::Name && piece.item == i)
      out.insert(out.end(), value->begin(), value->end());
    else
      out.push_back(piece);
  }
  target.swap(out);
  lengths_[size_t(j)] = after;
  return true;
}

bool RowSubstitution::Run(const FieldValueRow &items,
                          const std::vector<bool> &targets) {
  items_ = &items;
  targets_ = targets;
  const size_t n = size_t(items.size());
  if (!ReadNames())
    return false;
  plain_.assign(n, Plain::Unknown);
  numbers_.assign(n, 0);
  pieces_.resize(n);
  split_.assign(n, false);
  lengths_.assign(n, 0);
  for (size_t j = 0; j < n; ++j)
    if (targets_[j] && !Current(int(j)))
      return false;
  // Step 1: each name, in column order, in each target's text.
  for (size_t i = 0; i < n; ++i) {
    if (names_[i].isEmpty())
      continue;
    for (size_t j = 0; j < n; ++j)
      if (targets_[j] && !ReplaceName(int(i), qsizetype(j)))
        return false;
  }
  // Step 2: what is left of any name becomes 0.
  for (size_t j = 0; j < n; ++j) {
    if (!targets_[j])
      continue;
    for (TextPiece &piece : pieces_[j])
      if (piece.kind == TextPiece::Kind::Name)
        piece = {TextPiece::Kind::Text, -1, QStringView(Zero())};
  }
  return true;
}

QString RowSubstitution::Text(qsizetype j) const {
  QString out;
  out.reserve(lengths_[size_t(j)]);
  for (const TextPiece &piece : pieces_[size_t(j)]) {
    if (piece.kind == TextPiece::Kind::Number)
      out += (*items_)[piece.item].text;
    else
      out += piece.text;
  }
  return out;
}

QString RowSubstitution::Template(qsizetype j,
                                  std::vector<int> &numberItems) const {
  QString out;
  for (const TextPiece &piece : pieces_[size_t(j)]) {
    if (piece.kind == TextPiece::Kind::Number) {
      out += QLatin1Char(kNumberSlot);
      numberItems.push_back(piece.item);
    } else {
      out += piece.text;
    }
  }
  return out;
}
