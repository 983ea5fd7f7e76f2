// Whole-word, case-insensitive search and replacement of a field name in a
// formula text. The name is matched literally (characters that mean
// something to regular expressions match themselves) and only where no
// word letter is glued to it on either side; Chinese letters count as word
// letters. The replacement is inserted as it is, without format sequences.
// Compiled patterns are kept per name for the thread, since every row
// operation asks for the same few names again.
#pragma once

#include <QString>

#include <memory>

// Whether c is a word letter in the sense of the patterns: no word letter
// may touch a name where it is found.
bool IsFieldWordLetter(char32_t c);

class FieldPattern {
public:
  explicit FieldPattern(const QString &fieldName);

  // Whether the name occurs in text.
  bool FoundIn(const QString &text) const;
  // text with every occurrence of the name replaced by replacement. When the
  // result would grow beyond limit characters (a limit below 0 is none), text
  // is returned as it is and *tooLong, when given, is set.
  QString ReplaceIn(const QString &text, const QString &replacement,
                    qsizetype limit = -1, bool *tooLong = nullptr) const;

  struct Compiled;

private:
  // Null for an empty name, which occurs nowhere.
  std::shared_ptr<const Compiled> compiled_;
};
