// Writing records to CSV and XLSX; see records_export.h.
#include "exchange/records_export.h"

#include "base/date_text.h"
#include "db/db_visiter.h"
#include "db/describe_error.h"
#include "db/errno_text.h"
#include "document/account_file.h"
#include "exchange/export_target.h"
#include "model/field_type.h"
#include "records/records_query.h"
#include "storage/file_copy.h"
#include "storage/scratch_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <xlsxwriter.h>

#include <cerrno>
#include <memory>

#include <sys/stat.h>

namespace {

// Excel keeps at most this many characters in a cell, and this many rows
// below the header row in a sheet.
constexpr int kMaxCellText = 32767;
constexpr int kMaxXlsxRows = 1048575;

bool IsNumberType(int type) {
  return type == FT_KEY || type == FT_INTEGER || type == FT_FLOAT;
}

bool IsDateOrTimeType(int type) {
  return type == FT_DATETIME || type == FT_DATE || type == FT_TIME ||
         type == FT_AUTODATE || type == FT_AUTOTIME;
}

QString CsvField(const QString &text) {
  if (!text.contains(QLatin1Char(',')) && !text.contains(QLatin1Char('"')) &&
      !text.contains(QLatin1Char('\n')) && !text.contains(QLatin1Char('\r')) &&
      text.trimmed() == text)
    return text;
  QString quoted = text;
  quoted.replace(QLatin1Char('"'), QStringLiteral("\"\""));
  return QLatin1Char('"') + quoted + QLatin1Char('"');
}

// Where a format writes rows; Row is called once per record.
class RowWriter {
public:
  virtual ~RowWriter() = default;
  virtual bool Header(const ColumnList &columns) = 0;
  virtual bool Row(const ColumnList &columns, const QStringList &texts) = 0;
  // Makes the file appear at its path; false with error when it did not.
  virtual bool Finish(QString *error) = 0;
  // Drops everything written; no file is left.
  virtual void Abandon() = 0;
};

class CsvWriter : public RowWriter {
public:
  explicit CsvWriter(const QString &path) : file_(path) {}

  bool Open(QString *error) {
    if (file_.open(QIODevice::WriteOnly))
      return file_.write("\xEF\xBB\xBF") == 3;
    *error = QStringLiteral("无法写入文件：%1").arg(file_.fileName());
    return false;
  }
  bool Header(const ColumnList &columns) override {
    QStringList captions;
    for (const ColumnDef &column : columns.All())
      captions.append(CsvField(column.title));
    return Write(captions);
  }
  bool Row(const ColumnList &, const QStringList &texts) override {
    QStringList fields;
    for (const QString &text : texts)
      fields.append(CsvField(text));
    return Write(fields);
  }
  bool Finish(QString *error) override {
    if (file_.commit())
      return true;
    *error = QStringLiteral("无法写入文件：%1").arg(file_.fileName());
    return false;
  }
  void Abandon() override { file_.cancelWriting(); }

private:
  bool Write(const QStringList &fields) {
    const QByteArray line =
        (fields.join(QLatin1Char(',')) + QStringLiteral("\r\n")).toUtf8();
    return file_.write(line) == line.size();
  }

  QSaveFile file_;
};

class XlsxWriter : public RowWriter {
public:
  explicit XlsxWriter(const QString &path) : path_(path) {}
  ~XlsxWriter() override {
    if (workbook_)
      Abandon();
  }

  bool Open(QString *error) {
    // The workbook is written to a scratch file beside the target, which
    // takes the target's name only once it is complete.
    const QFileInfo target(path_);
    if (!scratch_.Create(target.absolutePath(), target.fileName())) {
      *error = QStringLiteral("无法写入文件：%1（%2）").arg(path_, ErrnoText(errno));
      return false;
    }
    // Rows go straight to a temporary file instead of memory.
    tmpDir_ = QDir::tempPath().toUtf8();
    lxw_workbook_options options{};
    options.constant_memory = LXW_TRUE;
    options.tmpdir = tmpDir_.data();
    workbook_ = workbook_new_opt(QFile::encodeName(scratch_.Path()).constData(),
                                 &options);
    if (workbook_)
      sheet_ = workbook_add_worksheet(workbook_, "记录");
    if (!workbook_ || !sheet_) {
      *error = QStringLiteral("无法写入文件：%1").arg(path_);
      return false;
    }
    bold_ = workbook_add_format(workbook_);
    format_set_bold(bold_);
    date_ = workbook_add_format(workbook_);
    format_set_num_format(date_, "yyyy/m/d");
    dateTime_ = workbook_add_format(workbook_);
    format_set_num_format(dateTime_, "yyyy/m/d h:mm:ss");
    time_ = workbook_add_format(workbook_);
    format_set_num_format(time_, "h:mm:ss");
    return true;
  }

  bool Header(const ColumnList &columns) override {
    for (int i = 0; i < columns.Size(); ++i) {
      const ColumnDef &column = columns.At(i);
      worksheet_set_column(sheet_, lxw_col_t(i), lxw_col_t(i),
                           std::max(column.width, 40) / 7.0, nullptr);
      if (worksheet_write_string(sheet_, 0, lxw_col_t(i),
                                 column.title.toUtf8().constData(),
                                 bold_) != LXW_NO_ERROR)
        return false;
    }
    return true;
  }

  bool Row(const ColumnList &columns, const QStringList &texts) override {
    ++row_;
    for (int i = 0; i < columns.Size() && i < texts.size(); ++i)
      if (!Cell(lxw_col_t(i), columns.At(i).type, texts.at(i)))
        return false;
    return true;
  }

  bool Finish(QString *error) override {
    const lxw_error result = workbook_close(workbook_);
    workbook_ = nullptr;
    if (result != LXW_NO_ERROR) {
      scratch_.Remove();
      *error = QStringLiteral("无法写入文件：%1（%2）")
                   .arg(path_, QString::fromUtf8(lxw_strerror(result)));
      return false;
    }
    // A new file of the user's: the mode the umask gives.
    if (::fchmod(scratch_.Descriptor(), NewFileMode()) == 0 &&
        scratch_.MoveTo(path_, true))
      return true;
    *error = QStringLiteral("无法写入文件：%1（%2）").arg(path_, ErrnoText(errno));
    scratch_.Remove();
    return false;
  }

  void Abandon() override {
    if (workbook_)
      workbook_close(workbook_);
    workbook_ = nullptr;
    scratch_.Remove();
  }

private:
  bool Cell(lxw_col_t col, int type, const QString &text) {
    if (text.isEmpty())
      return true;
    if (IsNumberType(type)) {
      bool ok = false;
      const double value = text.toDouble(&ok);
      if (ok)
        return worksheet_write_number(sheet_, row_, col, value, nullptr) ==
               LXW_NO_ERROR;
    } else if (IsDateOrTimeType(type)) {
      const DateValue value = ParseDateTime(text);
      if (value.IsValid())
        return WriteDate(col, type, value);
    }
    const QByteArray utf8 = text.toUtf8();
    return worksheet_write_string(sheet_, row_, col, utf8.constData(),
                                  nullptr) == LXW_NO_ERROR;
  }

  bool WriteDate(lxw_col_t col, int type, const DateValue &value) {
    lxw_datetime when{};
    const bool timeOnly = type == FT_TIME || type == FT_AUTOTIME;
    if (!timeOnly) {
      when.year = value.Date().year();
      when.month = value.Date().month();
      when.day = value.Date().day();
    }
    const bool withTime = type == FT_DATETIME || timeOnly;
    if (withTime) {
      when.hour = value.Time().hour();
      when.min = value.Time().minute();
      when.sec = value.Time().second();
    }
    lxw_format *format = timeOnly ? time_ : withTime ? dateTime_ : date_;
    return worksheet_write_datetime(sheet_, row_, col, &when, format) ==
           LXW_NO_ERROR;
  }

  QString path_;
  ScratchFile scratch_;
  QByteArray tmpDir_;
  lxw_workbook *workbook_ = nullptr;
  lxw_worksheet *sheet_ = nullptr;
  lxw_format *bold_ = nullptr;
  lxw_format *date_ = nullptr;
  lxw_format *dateTime_ = nullptr;
  lxw_format *time_ = nullptr;
  lxw_row_t row_ = 0;
};

// Why a record's texts do not fit XLSX cells (a text Excel would cut),
// naming the record and the column; empty when they fit.
QString XlsxTextProblem(const ColumnList &columns, const QStringList &texts,
                        const QString &path) {
  for (qsizetype i = 0; i < texts.size() && i < columns.Size(); ++i) {
    if (texts.at(i).size() <= kMaxCellText)
      continue;
    const int key = columns.KeyPosition();
    return QStringLiteral("编号为 %1 的记录的“%2”有 %3 个字符，超过 XLSX "
                          "单元格能容纳的 %4 个字符，未导出；请导出为 CSV：%5")
        .arg(key >= 0 ? texts.value(key) : QString(), columns.At(int(i)).title)
        .arg(texts.at(i).size())
        .arg(kMaxCellText)
        .arg(path);
  }
  return {};
}

} // namespace

QString XlsxRowsProblem(int written, int more, const QString &path) {
  if (more <= kMaxXlsxRows - written)
    return {};
  return QStringLiteral("记录超过 XLSX 工作表能容纳的 %1 条，未导出；请导出为 "
                        "CSV：%2")
      .arg(kMaxXlsxRows)
      .arg(path);
}

ExportFormat ExportFormatOf(const QString &path) {
  return path.endsWith(QLatin1String(".xlsx"), Qt::CaseInsensitive)
             ? ExportFormat::Xlsx
             : ExportFormat::Csv;
}

QString ExportQuery(const AccountFile &file, const QString &where) {
  return RecordsQueryText(where, file.Columns().KeyFieldName());
}

bool ExportRecords(AccountFile &file, const QStringList &scopes,
                   const QString &path, const ExchangeProgress &progress,
                   int *count, bool *cancelled, QString *error) {
  *count = 0;
  *cancelled = false;
  CDBVisiter *session = file.Session();
  if (!session) {
    *error = QStringLiteral("没有打开的账簿文件！");
    return false;
  }
  if (!CheckExportTarget(file.Path(), path, error))
    return false;
  std::unique_ptr<RowWriter> writer;
  if (ExportFormatOf(path) == ExportFormat::Xlsx) {
    auto xlsx = std::make_unique<XlsxWriter>(path);
    if (!xlsx->Open(error))
      return false;
    writer = std::move(xlsx);
  } else {
    auto csv = std::make_unique<CsvWriter>(path);
    if (!csv->Open(error))
      return false;
    writer = std::move(csv);
  }
  const ColumnList &columns = file.Columns();
  auto fail = [&](const QString &message) {
    writer->Abandon();
    *error = message;
    return false;
  };
  if (!writer->Header(columns))
    return fail(QStringLiteral("无法写入文件：%1").arg(path));
  const bool xlsx = ExportFormatOf(path) == ExportFormat::Xlsx;
  for (const QString &where : scopes) {
    const int rows = session->Query(ExportQuery(file, where));
    // A condition that does not run is an error, not an empty export.
    if (rows == 0 && !session->QueryError().isEmpty())
      return fail(ConditionRefusal(session->QueryError()));
    if (rows == 0)
      continue;
    // An XLSX that cannot hold everything is said so, never cut.
    QString problem = xlsx ? XlsxRowsProblem(*count, rows, path) : QString();
    if (!problem.isEmpty()) {
      session->CloseResult();
      return fail(problem);
    }
    do {
      QStringList texts;
      for (const ColumnDef &column : columns.All())
        texts.append(session->GetString(column.fieldName));
      if (xlsx)
        problem = XlsxTextProblem(columns, texts, path);
      if (!problem.isEmpty()) {
        session->CloseResult();
        return fail(problem);
      }
      if (!writer->Row(columns, texts)) {
        session->CloseResult();
        return fail(QStringLiteral("无法写入文件：%1").arg(path));
      }
      ++*count;
      if (progress && !progress(*count)) {
        session->CloseResult();
        writer->Abandon();
        *cancelled = true;
        *count = 0;
        return false;
      }
    } while (session->MoveNext());
    session->CloseResult();
  }
  return writer->Finish(error);
}
