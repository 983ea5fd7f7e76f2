// One XML part of an XLSX archive; see xlsx_part.h.
#include "exchange/xlsx_part.h"

#include <zip.h>

namespace {

constexpr zip_uint64_t kChunk = 64 * 1024;

} // namespace

bool XmlMarkupFilter::Feed(const QByteArray &chunk, QByteArray *out) {
  if (!started_ && !chunk.isEmpty()) {
    started_ = true;
    passThrough_ = chunk.startsWith("\xFF\xFE") || chunk.startsWith("\xFE\xFF");
  }
  if (passThrough_) {
    *out = chunk;
    return true;
  }
  out->clear();
  for (const char c : chunk)
    if (!Step(c, out))
      return false;
  return true;
}

bool XmlMarkupFilter::Step(char c, QByteArray *out) {
  switch (state_) {
  case State::Text:
    if (c == '<')
      state_ = State::Open; // held back until the next byte tells
    else
      out->append(c);
    return true;
  case State::Open:
    if (c == '!') {
      bang_ = "<!";
      state_ = State::Bang;
    } else if (c == '?') {
      question_ = false;
      state_ = State::Instruction;
    } else {
      out->append('<');
      out->append(c);
      quote_ = 0;
      state_ = c == '>' ? State::Text : State::Tag;
    }
    return true;
  case State::Bang:
    return StepBang(c);
  case State::Comment:
    if (c == '>' && dashes_ >= 2)
      state_ = State::Text;
    dashes_ = c == '-' ? dashes_ + 1 : 0;
    return true;
  case State::Instruction:
    if (c == '>' && question_)
      state_ = State::Text;
    question_ = c == '?';
    return true;
  case State::CData:
    StepCData(c, out);
    return true;
  case State::Tag:
    // A '>' in an attribute value does not end the tag.
    out->append(c);
    if (quote_ != 0 && c == quote_)
      quote_ = 0;
    else if (quote_ == 0 && (c == '"' || c == '\''))
      quote_ = c;
    else if (quote_ == 0 && c == '>')
      state_ = State::Text;
    return true;
  }
  return false;
}

bool XmlMarkupFilter::StepBang(char c) {
  static const QByteArray comment = "<!--";
  static const QByteArray cdata = "<![CDATA[";
  bang_.append(c);
  if (bang_ == comment) {
    dashes_ = 0;
    state_ = State::Comment;
    return true;
  }
  if (bang_ == cdata) {
    brackets_ = 0;
    state_ = State::CData;
    return true;
  }
  return comment.startsWith(bang_) || cdata.startsWith(bang_);
}

// The section's text as character data; "]]>" ends it. Of a run of ']'
// the last two are held back, as they may start that end.
void XmlMarkupFilter::StepCData(char c, QByteArray *out) {
  if (c == ']') {
    if (brackets_ == 2)
      out->append(']');
    else
      ++brackets_;
    return;
  }
  if (c == '>' && brackets_ == 2) {
    state_ = State::Text;
    return;
  }
  out->append(QByteArray(brackets_, ']'));
  brackets_ = 0;
  if (c == '<')
    out->append("&lt;");
  else if (c == '&')
    out->append("&amp;");
  else if (c == '>')
    out->append("&gt;");
  else
    out->append(c);
}

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
    return filter_.Finish();
  }
  // Counted before the filter drops anything: a comment takes its share.
  inflated_ += read;
  if (inflated_ > cap_) {
    tooLarge_ = true;
    return false;
  }
  buffer_.truncate(qsizetype(read));
  if (!filter_.Feed(buffer_, &filtered_))
    return false;
  xml_.addData(filtered_);
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
