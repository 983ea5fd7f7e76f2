// Reading a PDF back; see pdf_text.h.
#include "support/pdf_text.h"

#include <QProcess>
#include <QRegularExpression>

namespace {

QString Run(const QString &program, const QStringList &args) {
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000) || process.exitCode() != 0)
    return QString();
  return QString::fromUtf8(process.readAllStandardOutput());
}

} // namespace

int PdfPageCount(const QString &path) {
  const QString info = Run(QStringLiteral("pdfinfo"), {path});
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("Pages:\\s+(\\d+)")).match(info);
  return match.hasMatch() ? match.captured(1).toInt() : -1;
}

QString PdfPageText(const QString &path, int page) {
  // Qt's PDF writer gives a glyph the lowest character that shows it, and
  // Noto CJK shows the Kangxi radicals with the ideographs' glyphs: 日
  // comes back as ⽇, which NFKC folds back.
  return Run(QStringLiteral("pdftotext"),
             {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
              QString::number(page), QStringLiteral("-raw"), path,
              QStringLiteral("-")})
      .normalized(QString::NormalizationForm_KC);
}

bool PdfHas(const QString &pageText, const QString &text) {
  return pageText.contains(text.normalized(QString::NormalizationForm_KC));
}
