// Steps 1 and 2 of EvaluateRow (evaluate_row.h) worked out on pieces of
// the row's texts instead of on the texts, so that a numeric column whose
// formula names only plain numbers comes out as a formula text with number
// slots: a text that stays the same from row to row while the numbers
// change, and can therefore be compiled once.
//
// A text is split into words (runs of word letters) and what lies between.
// When every field name is a word of its own, a whole-word occurrence of a
// name is exactly a word equal to it, and replacing it by a value never
// joins letters across the seam (the name had no word letter beside it), so
// the pieces follow the text substitution step by step and give the same
// texts. Rows where that cannot be shown are refused, and the caller
// substitutes the texts: a name that is not a word, two columns with the
// same name, a letter whose case the pieces would compare differently from
// the pattern, a text that would outgrow the substitution limit.
#pragma once

#include "formula/field_value_item.h"

#include <QString>
#include <QStringView>

#include <cstdint>
#include <vector>

// A substituted text may not grow beyond this many characters (see
// EvaluateRow).
inline constexpr qsizetype kSubstitutedLimit = 8192;

struct TextPiece {
  enum class Kind : std::uint8_t { Text, Name, Number };
  Kind kind;
  // Name: the item whose field name the word is. Number: the item whose
  // plain number text stands here.
  int item;
  // Text and Name: the characters.
  QStringView text;
};

using TextPieces = std::vector<TextPiece>;

class RowSubstitution {
public:
  // Substitutes the texts of the items marked in targets. False when the
  // row is one the pieces cannot follow; nothing else is then valid. The
  // row must stay unchanged while the results are read.
  bool Run(const FieldValueRow &items, const std::vector<bool> &targets);

  // The substituted text of target j.
  QString Text(qsizetype j) const;
  // The substituted text of target j with kNumberSlot (math_grammar.h) in
  // place of every plain number; numberItems receives the items whose
  // numbers go into the slots, in order.
  QString Template(qsizetype j, std::vector<int> &numberItems) const;
  // The value of a plain number item that Template named.
  double Number(int item) const { return numbers_[size_t(item)]; }

private:
  enum class Plain : std::uint8_t { Unknown, Yes, No };

  bool ReadNames();
  bool MakeNames();
  int FindName(QStringView word) const;
  bool IsPlain(int item);
  bool Tokenize(const QString &text, TextPieces &out) const;
  // The pieces item i's text stands for now; null when it cannot be split.
  const TextPieces *Current(int i);
  bool ReplaceName(int i, qsizetype j);

  const FieldValueRow *items_ = nullptr;
  std::vector<bool> targets_;
  std::vector<QString> names_; // lower-case keys; empty for no name
  std::vector<Plain> plain_;
  std::vector<double> numbers_;
  std::vector<TextPieces> pieces_;
  std::vector<bool> split_; // pieces_ holds the item's text
  std::vector<qsizetype> lengths_;
};
