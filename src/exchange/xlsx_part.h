// One XML part of an XLSX archive (libzip), inflated and parsed chunk by
// chunk: its tokens come from QXmlStreamReader, which is fed 64 KB at a
// time as it asks for more. The bytes inflated are counted as they come,
// whatever the archive's header claims, and a part that inflates beyond
// its cap stops being read.
//
// QXmlStreamReader scans a comment, a processing instruction or a CDATA
// section again from its start each time data is added while it is
// unterminated, which makes a large one cost time quadratic in its size.
// So the bytes pass through XmlMarkupFilter first, which drops comments
// and processing instructions (the XML declaration among them: the parts
// are UTF-8) and turns CDATA sections into escaped character data, in one
// pass that carries its state from chunk to chunk. A part in UTF-16 (with
// its byte order mark) passes unchanged.
#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

struct zip;
struct zip_file;

class XmlMarkupFilter {
public:
  // The bytes of chunk that QXmlStreamReader is to see; false when the
  // XML holds a document type declaration (which no XLSX part has) or
  // other markup that starts with "<!" and is no comment or CDATA section.
  bool Feed(const QByteArray &chunk, QByteArray *out);
  // False when the input ended inside a comment, a processing instruction,
  // a CDATA section or a tag's opening.
  bool Finish() const {
    return passThrough_ || state_ == State::Text || state_ == State::Tag;
  }

private:
  enum class State { Text, Open, Bang, Comment, Instruction, CData, Tag };

  bool Step(char c, QByteArray *out);
  bool StepBang(char c);
  void StepCData(char c, QByteArray *out);

  bool started_ = false;
  bool passThrough_ = false; // UTF-16, whose bytes this does not read
  State state_ = State::Text;
  QByteArray bang_;       // "<!" and what follows until it is known
  int dashes_ = 0;        // '-' just seen in a comment
  bool question_ = false; // '?' just seen in a processing instruction
  int brackets_ = 0;      // ']' held back in a CDATA section, at most 2
  char quote_ = 0;        // the quote of the attribute value a tag is in
};

class XlsxPart {
public:
  // The part name (as "xl/workbook.xml") of archive, at most cap bytes
  // once inflated.
  XlsxPart(zip *archive, const QString &name, qint64 cap);
  ~XlsxPart();
  XlsxPart(const XlsxPart &) = delete;
  XlsxPart &operator=(const XlsxPart &) = delete;

  // False when the archive has no such part.
  bool Exists() const { return exists_; }
  // The next token, reading on as needed; Invalid when the part cannot be
  // read, is damaged or is too large (Error says which).
  QXmlStreamReader::TokenType Next();
  const QXmlStreamReader &Xml() const { return xml_; }
  // The value of the current element's attribute of local name (so "id"
  // finds "r:id"), or an empty text.
  QString Attribute(QLatin1StringView name) const;
  // Whether the current token starts or ends the element of local name.
  bool Starts(QLatin1StringView name) const;
  bool Ends(QLatin1StringView name) const;
  // Why Next gave Invalid, for the user; path names the file.
  QString Error(const QString &path) const;

private:
  bool Fill();

  zip_file *file_ = nullptr;
  QString name_;
  qint64 cap_ = 0;
  qint64 inflated_ = 0;
  bool exists_ = false;
  bool atEnd_ = false;
  bool tooLarge_ = false;
  QByteArray buffer_;
  QByteArray filtered_;
  XmlMarkupFilter filter_;
  QXmlStreamReader xml_;
};

// "XLSX 文件已损坏：<path>"
QString XlsxDamagedMessage(const QString &path);
