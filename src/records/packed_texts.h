// A list of texts kept as UTF-8 in one byte array.
//
// It reads like a QStringList (size, at, value, [] and a conversion to a
// list) and takes a list by assignment; writing one text through [] packs
// the list again. A statement's checked lines keep their record texts this
// way: a million lines then hold about the bytes of their texts.
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

class PackedTexts {
public:
  // One text of the list, to be read or replaced.
  class Ref {
  public:
    Ref(PackedTexts &texts, qsizetype i) : texts_(texts), i_(i) {}
    Ref &operator=(const QString &text) {
      texts_.Set(i_, text);
      return *this;
    }
    operator QString() const { return texts_.at(i_); }
    friend bool operator==(const QString &a, const Ref &b) {
      return a == QString(b);
    }

  private:
    PackedTexts &texts_;
    qsizetype i_;
  };

  PackedTexts() = default;
  PackedTexts(const QStringList &texts) { *this = texts; }
  PackedTexts &operator=(const QStringList &texts);

  operator QStringList() const { return List(); }
  QStringList List() const;

  qsizetype size() const;
  bool isEmpty() const { return bytes_.isEmpty(); }
  void clear() { bytes_.clear(); }
  // Text i; i must be a position of the list.
  QString at(qsizetype i) const;
  // Text i, or a null text when there is none.
  QString value(qsizetype i) const;
  QString operator[](qsizetype i) const { return at(i); }
  Ref operator[](qsizetype i) { return Ref(*this, i); }
  // Replaces text i; i must be a position of the list.
  void Set(qsizetype i, const QString &text);

  bool operator==(const QStringList &other) const { return List() == other; }
  // The bytes held.
  qsizetype PackedBytes() const { return bytes_.size(); }

private:
  // The count, then each text with a null mark (packed_numbers.h); empty
  // for an empty list.
  QByteArray bytes_;
};
