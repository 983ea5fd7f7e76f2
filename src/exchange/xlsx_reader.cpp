// Reading the rows of an XLSX workbook; see xlsx_reader.h.
//
// The workbook part (xl/workbook.xml) lists the sheets in order and names
// each by a relationship; its relationships (xl/_rels/workbook.xml.rels)
// give the part of each sheet and those of the shared texts and the styles.
#include "exchange/xlsx_reader.h"

#include "base/date_text.h"
#include "base/date_value.h"
#include "exchange/statement_lines.h"
#include "exchange/statement_messages.h"
#include "exchange/xlsx_cell_text.h"
#include "exchange/xlsx_part.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

#include <zip.h>

#include <cmath>
#include <map>
#include <memory>
#include <vector>

namespace {

constexpr qint64 kMegabyte = 1024 * 1024;
constexpr qint64 kMaxSheet = 200 * kMegabyte;
constexpr qint64 kMaxSharedTexts = 50 * kMegabyte;
// The workbook, its relationships and the styles.
constexpr qint64 kMaxSmallPart = 10 * kMegabyte;
// The last row a spreadsheet has.
constexpr int kMaxRow = 1048576;

QString TextTooLong(const QString &path) {
  return QStringLiteral("XLSX 文件中有超过 %1 个字符的单元格，不是可识别的"
                        "对账单：%2")
      .arg(kMaxXlsxCellText)
      .arg(path);
}

QString DamagedRow(int row, const QString &path) {
  return QStringLiteral("XLSX 文件第%1行已损坏：%2").arg(row).arg(path);
}

struct ArchiveCloser {
  void operator()(zip_t *archive) const { zip_discard(archive); }
};
using Archive = std::unique_ptr<zip_t, ArchiveCloser>;

// What the workbook part and its relationships say.
struct Workbook {
  QString sheet;       // the part of the first worksheet
  QString sharedTexts; // empty when there are none
  QString styles;
  bool date1904 = false;
};

// The part a relationship's target names: relative to xl/, or from the
// archive's root when it starts with '/'. Empty when it leaves the archive.
QString PartOf(const QString &target) {
  const QString path = target.startsWith(QLatin1Char('/'))
                           ? target.mid(1)
                           : QStringLiteral("xl/") + target;
  const QString clean = QDir::cleanPath(path);
  return clean.startsWith(QLatin1String("../")) ? QString() : clean;
}

bool ReadWorkbook(zip_t *archive, const QString &path, Workbook *workbook,
                  QString *error) {
  XlsxPart book(archive, QStringLiteral("xl/workbook.xml"), kMaxSmallPart);
  if (!book.Exists()) {
    // Alipay and WeChat Pay send their bills in a zip archive locked with a
    // password; the bill inside is what imports.
    *error = QStringLiteral("文件是压缩包，不是账单，请先解压，再导入其中的账单"
                            "文件：%1")
                 .arg(path);
    return false;
  }
  QString sheetId;
  for (auto token = book.Next(); token != QXmlStreamReader::EndDocument;
       token = book.Next()) {
    if (token == QXmlStreamReader::Invalid) {
      *error = book.Error(path);
      return false;
    }
    if (book.Starts(QLatin1String("workbookPr"))) {
      const QString value = book.Attribute(QLatin1String("date1904"));
      workbook->date1904 =
          value == QLatin1String("1") || value == QLatin1String("true");
    } else if (book.Starts(QLatin1String("sheet")) && sheetId.isEmpty()) {
      sheetId = book.Attribute(QLatin1String("id"));
    }
  }

  XlsxPart links(archive, QStringLiteral("xl/_rels/workbook.xml.rels"),
                 kMaxSmallPart);
  for (auto token = links.Next(); token != QXmlStreamReader::EndDocument;
       token = links.Next()) {
    if (token == QXmlStreamReader::Invalid) {
      *error = links.Error(path);
      return false;
    }
    if (!links.Starts(QLatin1String("Relationship")))
      continue;
    const QString type = links.Attribute(QLatin1String("Type"));
    const QString part = PartOf(links.Attribute(QLatin1String("Target")));
    if (links.Attribute(QLatin1String("Id")) == sheetId)
      workbook->sheet = part;
    else if (type.endsWith(QLatin1String("/sharedStrings")))
      workbook->sharedTexts = part;
    else if (type.endsWith(QLatin1String("/styles")))
      workbook->styles = part;
  }
  if (sheetId.isEmpty() || workbook->sheet.isEmpty()) {
    *error = XlsxDamagedMessage(path);
    return false;
  }
  return true;
}

// For each cell style (the index a cell's s attribute gives), whether its
// number format shows a date.
bool ReadDateStyles(zip_t *archive, const QString &part, const QString &path,
                    std::vector<bool> *dateStyles, QString *error) {
  XlsxPart styles(archive, part, kMaxSmallPart);
  if (part.isEmpty() || !styles.Exists())
    return true;
  std::map<int, QString> codes;
  std::vector<int> formats;
  bool inCellStyles = false;
  for (auto token = styles.Next(); token != QXmlStreamReader::EndDocument;
       token = styles.Next()) {
    if (token == QXmlStreamReader::Invalid) {
      *error = styles.Error(path);
      return false;
    }
    if (styles.Starts(QLatin1String("numFmt")))
      codes[styles.Attribute(QLatin1String("numFmtId")).toInt()] =
          styles.Attribute(QLatin1String("formatCode"));
    else if (styles.Starts(QLatin1String("cellXfs")))
      inCellStyles = true;
    else if (styles.Ends(QLatin1String("cellXfs")))
      inCellStyles = false;
    else if (inCellStyles && styles.Starts(QLatin1String("xf")))
      formats.push_back(styles.Attribute(QLatin1String("numFmtId")).toInt());
  }
  for (const int format : formats) {
    const auto code = codes.find(format);
    dateStyles->push_back(IsXlsxDateFormat(
        format, code == codes.end() ? QString() : code->second));
  }
  return true;
}

// The shared texts, each the runs of its t elements joined; phonetic
// guides (rPh) are left out.
bool ReadSharedTexts(zip_t *archive, const QString &part, const QString &path,
                     QStringList *texts, QString *error) {
  XlsxPart shared(archive, part, kMaxSharedTexts);
  if (part.isEmpty() || !shared.Exists())
    return true;
  QString text;
  int phonetic = 0;
  bool inText = false;
  for (auto token = shared.Next(); token != QXmlStreamReader::EndDocument;
       token = shared.Next()) {
    if (token == QXmlStreamReader::Invalid) {
      *error = shared.Error(path);
      return false;
    }
    if (shared.Starts(QLatin1String("si")))
      text.clear();
    else if (shared.Starts(QLatin1String("rPh")))
      ++phonetic;
    else if (shared.Ends(QLatin1String("rPh")))
      --phonetic;
    else if (shared.Starts(QLatin1String("t")))
      inText = phonetic == 0;
    else if (shared.Ends(QLatin1String("t")))
      inText = false;
    else if (shared.Ends(QLatin1String("si")))
      texts->append(XlsxUnescape(text));
    else if (inText && token == QXmlStreamReader::Characters) {
      text += shared.Xml().text();
      if (text.size() > kMaxXlsxCellText) {
        *error = TextTooLong(path);
        return false;
      }
    }
  }
  return true;
}

// Streams the rows of a worksheet part to onRow.
class SheetReader {
public:
  SheetReader(const QString &path, const QStringList &sharedTexts,
              const std::vector<bool> &dateStyles, bool date1904)
      : path_(path), sharedTexts_(sharedTexts), dateStyles_(dateStyles),
        date1904_(date1904) {}

  bool Read(XlsxPart &sheet,
            const std::function<bool(int, const QStringList &)> &onRow,
            QString *error);

private:
  // One cell as its element gives it.
  struct Cell {
    int column = 0;
    QString type;
    int style = 0;
    QString value;   // of its v element
    QString inline_; // of the t elements of its is element
  };

  bool StartRow(XlsxPart &sheet, QString *error);
  bool StartCell(XlsxPart &sheet, QString *error);
  bool EndCell(QString *error);
  bool Text(const Cell &cell, QString *text) const;

  const QString &path_;
  const QStringList &sharedTexts_;
  const std::vector<bool> &dateStyles_;
  const bool date1904_;

  int row_ = 0;
  QStringList cells_;
  Cell cell_;
  QString *reading_ = nullptr; // the text the current element adds to
  int phonetic_ = 0;
};

bool SheetReader::Read(
    XlsxPart &sheet, const std::function<bool(int, const QStringList &)> &onRow,
    QString *error) {
  for (auto token = sheet.Next(); token != QXmlStreamReader::EndDocument;
       token = sheet.Next()) {
    if (token == QXmlStreamReader::Invalid) {
      *error = sheet.Error(path_);
      return false;
    }
    if (sheet.Starts(QLatin1String("row"))) {
      if (!StartRow(sheet, error))
        return false;
    } else if (sheet.Starts(QLatin1String("c"))) {
      if (!StartCell(sheet, error))
        return false;
    } else if (sheet.Starts(QLatin1String("v"))) {
      reading_ = &cell_.value;
    } else if (sheet.Starts(QLatin1String("rPh"))) {
      ++phonetic_;
    } else if (sheet.Ends(QLatin1String("rPh"))) {
      --phonetic_;
    } else if (sheet.Starts(QLatin1String("t"))) {
      reading_ = phonetic_ == 0 ? &cell_.inline_ : nullptr;
    } else if (sheet.Ends(QLatin1String("v")) ||
               sheet.Ends(QLatin1String("t"))) {
      reading_ = nullptr;
    } else if (reading_ && token == QXmlStreamReader::Characters) {
      *reading_ += sheet.Xml().text();
      if (reading_->size() > kMaxXlsxCellText) {
        *error = TextTooLong(path_);
        return false;
      }
    } else if (sheet.Ends(QLatin1String("c"))) {
      if (!EndCell(error))
        return false;
    } else if (sheet.Ends(QLatin1String("row"))) {
      if (!onRow(row_, cells_))
        return true;
    } else if (sheet.Ends(QLatin1String("sheetData"))) {
      return true;
    }
  }
  return true;
}

// Rows come in order; one without a number follows the one before.
bool SheetReader::StartRow(XlsxPart &sheet, QString *error) {
  const QString number = sheet.Attribute(QLatin1String("r"));
  const int previous = row_;
  bool ok = true;
  row_ = number.isEmpty() ? previous + 1 : number.toInt(&ok);
  if (!ok || row_ <= previous || row_ > kMaxRow) {
    *error = DamagedRow(previous + 1, path_);
    return false;
  }
  cells_.clear();
  return true;
}

// A cell goes to the column of its reference, or follows the one before.
bool SheetReader::StartCell(XlsxPart &sheet, QString *error) {
  const QString reference = sheet.Attribute(QLatin1String("r"));
  const int column = reference.isEmpty()
                         ? int(cells_.size())
                         : XlsxColumnOf(reference, kMaxCsvFields);
  if (column < 0) {
    *error = DamagedRow(row_, path_);
    return false;
  }
  if (column >= kMaxCsvFields) {
    *error = TooManyFieldsMessage(row_, path_);
    return false;
  }
  cell_ = Cell();
  cell_.column = column;
  cell_.type = sheet.Attribute(QLatin1String("t"));
  cell_.style = sheet.Attribute(QLatin1String("s")).toInt();
  return true;
}

bool SheetReader::EndCell(QString *error) {
  QString text;
  if (!Text(cell_, &text)) {
    *error = DamagedRow(row_, path_);
    return false;
  }
  if (text.contains(QChar(0))) {
    *error = QStringLiteral("XLSX 文件第%1行有空字符（NUL）：%2")
                 .arg(row_)
                 .arg(path_);
    return false;
  }
  while (cells_.size() < cell_.column)
    cells_.append(QString());
  if (cells_.size() == cell_.column)
    cells_.append(text);
  else
    cells_[cell_.column] = text;
  return true;
}

// The text of a cell by its type: a shared text, an inline text, a
// formula's text or error, a boolean, an ISO date or (no type) a number.
bool SheetReader::Text(const Cell &cell, QString *text) const {
  const QString &type = cell.type;
  const QString value = cell.value.trimmed();
  if (type == QLatin1String("s")) {
    bool ok = false;
    const int index = value.toInt(&ok);
    if (!ok || index < 0 || index >= sharedTexts_.size())
      return false;
    *text = sharedTexts_.at(index);
  } else if (type == QLatin1String("inlineStr")) {
    *text = XlsxUnescape(cell.inline_);
  } else if (type == QLatin1String("str") || type == QLatin1String("e")) {
    *text = XlsxUnescape(cell.value);
  } else if (type == QLatin1String("b")) {
    *text = value.isEmpty()               ? QString()
            : value == QLatin1String("1") ? QStringLiteral("TRUE")
                                          : QStringLiteral("FALSE");
  } else if (type == QLatin1String("d")) {
    const DateValue date =
        DateValue::FromDateTime(QDateTime::fromString(value, Qt::ISODate));
    *text = date.IsValid() ? CanonicalDateText(date.Fields()) : value;
  } else if (!value.isEmpty()) {
    bool ok = false;
    const double number = value.toDouble(&ok);
    if (!ok || !std::isfinite(number))
      return false;
    const bool date = cell.style >= 0 &&
                      size_t(cell.style) < dateStyles_.size() &&
                      dateStyles_[size_t(cell.style)];
    if (!date || !XlsxDateText(number, date1904_, text))
      *text = XlsxNumberText(number);
  }
  return true;
}

} // namespace

bool LooksLikeZip(const QByteArray &head) {
  return head.startsWith("PK\x03\x04");
}

bool ReadXlsxRows(
    const QString &path,
    const std::function<bool(int rowNumber, const QStringList &cells)> &onRow,
    QString *error) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    *error = CannotReadMessage(path);
    return false;
  }
  const bool zipped = LooksLikeZip(file.read(4));
  file.close();
  int code = 0;
  Archive archive(
      zip_open(QFile::encodeName(path).constData(), ZIP_RDONLY, &code));
  if (!archive) {
    // A zip archive cut short has lost its directory at the end.
    *error = zipped ? XlsxDamagedMessage(path) : NotAStatementMessage();
    return false;
  }
  Workbook workbook;
  std::vector<bool> dateStyles;
  QStringList sharedTexts;
  if (!ReadWorkbook(archive.get(), path, &workbook, error) ||
      !ReadDateStyles(archive.get(), workbook.styles, path, &dateStyles,
                      error) ||
      !ReadSharedTexts(archive.get(), workbook.sharedTexts, path, &sharedTexts,
                       error))
    return false;
  XlsxPart sheet(archive.get(), workbook.sheet, kMaxSheet);
  if (!sheet.Exists()) {
    *error = XlsxDamagedMessage(path);
    return false;
  }
  SheetReader reader(path, sharedTexts, dateStyles, workbook.date1904);
  return reader.Read(sheet, onRow, error);
}
