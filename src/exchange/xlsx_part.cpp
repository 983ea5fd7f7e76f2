// One XML part of an XLSX archive; see xlsx_part.h.
#include "exchange/xlsx_part.h"

#include <zip.h>

namespace {

constexpr zip_uint64_t kChunk = 64 * 1024;

} // namespace

QString XlsxDamagedMessage(const QString &path) {
  return QStringLiteral("XLSX 文件已损坏：%1").arg(path);
}

XlsxPart::XlsxPart(zip *archive, const QString &name, qint64 cap)
    : name_(name), cap_(cap) {
  const zip_int64_t index =
      zip_name_locate(archive, name.toUtf8().constData(), ZIP_FL_NOCASE);
  exists_ = index >= 0;
  if (exists_)
    file_ = zip_fopen_index(archive, zip_uint64_t(index), 0);
}

XlsxPart::~XlsxPart() {
  if (file_)
    zip_fclose(file_);
}

bool XlsxPart::Fill() {
  if (!file_)
    return false;
  buffer_.resize(qsizetype(kChunk));
  const zip_int64_t read = zip_fread(file_, buffer_.data(), kChunk);
  if (read < 0)
    return false; // damaged data or a wrong checksum
  if (read == 0) {
    atEnd_ = true;
    return true;
  }
  inflated_ += read;
  if (inflated_ > cap_) {
    tooLarge_ = true;
    return false;
  }
  xml_.addData(buffer_.left(qsizetype(read)));
  return true;
}

QXmlStreamReader::TokenType XlsxPart::Next() {
  for (;;) {
    const QXmlStreamReader::TokenType token = xml_.readNext();
    if (token != QXmlStreamReader::Invalid ||
        xml_.error() != QXmlStreamReader::PrematureEndOfDocumentError || atEnd_)
      return token;
    if (!Fill())
      return QXmlStreamReader::Invalid;
  }
}

QString XlsxPart::Attribute(QLatin1StringView name) const {
  // Kept const: a loop over the temporary list would copy it deeply.
  const QXmlStreamAttributes attributes = xml_.attributes();
  for (const QXmlStreamAttribute &attribute : attributes)
    if (attribute.name() == name)
      return attribute.value().toString();
  return QString();
}

bool XlsxPart::Starts(QLatin1StringView name) const {
  return xml_.isStartElement() && xml_.name() == name;
}

bool XlsxPart::Ends(QLatin1StringView name) const {
  return xml_.isEndElement() && xml_.name() == name;
}

QString XlsxPart::Error(const QString &path) const {
  if (tooLarge_)
    return QStringLiteral("XLSX 文件中的 %1 解压后超过 %2 MB，不是可识别的"
                          "对账单：%3")
        .arg(name_)
        .arg(cap_ / (1024 * 1024))
        .arg(path);
  return XlsxDamagedMessage(path);
}
