// One XML part of an XLSX archive (libzip), inflated and parsed chunk by
// chunk: its tokens come from QXmlStreamReader, which is fed 64 KB at a
// time as it asks for more. The bytes inflated are counted as they come,
// whatever the archive's header claims, and a part that inflates beyond
// its cap stops being read.
#pragma once

#include <QByteArray>
#include <QString>
#include <QXmlStreamReader>

struct zip;
struct zip_file;

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
  QXmlStreamReader xml_;
};

// "XLSX 文件已损坏：<path>"
QString XlsxDamagedMessage(const QString &path);
