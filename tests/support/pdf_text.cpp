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

bool PdfIsLandscape(const QString &path) {
  const QString info = Run(QStringLiteral("pdfinfo"), {path});
  const QRegularExpressionMatch match =
      QRegularExpression(QStringLiteral("Page size:\\s+([\\d.]+) x ([\\d.]+)")).match(info);
  return match.hasMatch() && match.captured(1).toDouble() > match.captured(2).toDouble();
}

QString PdfPageText(const QString &path, int page) {
  return Run(QStringLiteral("pdftotext"),
             {QStringLiteral("-f"), QString::number(page), QStringLiteral("-l"),
              QString::number(page), QStringLiteral("-raw"), path,
              QStringLiteral("-")});
}

bool PdfHas(const QString &pageText, const QString &text) {
  return pageText.contains(text);
}
