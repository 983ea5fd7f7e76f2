// Chart pictures as PNG, SVG and PDF; see chart_image.h.
#include "window/chart_image.h"

#include "base/prompt.h"
#include "widgets/start_folder.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFormLayout>
#include <QImage>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QPushButton>
#include <QSaveFile>
#include <QSpinBox>
#include <QSvgGenerator>

namespace {

QString CannotWrite(const QString &path) {
  return QStringLiteral("无法写入文件：%1").arg(path);
}

// The PDF page is the picture's size at 96 dots per inch.
bool SavePdf(const ChartPainter &paint, const QSize &size,
             const QString &path) {
  // Written through a file that tells a failed write (a full disk), and
  // kept only whole.
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  {
    QPdfWriter writer(&file);
    writer.setResolution(96);
    writer.setPageSize(QPageSize(QSizeF(size) * 72.0 / 96.0, QPageSize::Point,
                                 QString(), QPageSize::ExactMatch));
    writer.setPageMargins(QMarginsF(0, 0, 0, 0));
    writer.setCreator(QStringLiteral("Sorvanel"));
    QPainter painter;
    if (!painter.begin(&writer)) {
      file.cancelWriting();
      return false;
    }
    paint(painter, size);
    painter.end();
  }
  return file.commit();
}

bool SaveSvg(const ChartPainter &paint, const QSize &size,
             const QString &path) {
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly))
    return false;
  {
    QSvgGenerator generator;
    generator.setOutputDevice(&file);
    // Width and height are written in millimetres; at 96 dots per inch
    // viewers show the picture at the size asked for.
    generator.setResolution(96);
    generator.setSize(size);
    generator.setViewBox(QRect(QPoint(0, 0), size));
    generator.setTitle(QFileInfo(path).completeBaseName());
    QPainter painter;
    if (!painter.begin(&generator)) {
      file.cancelWriting();
      return false;
    }
    paint(painter, size);
    painter.end();
  }
  return file.commit();
}

bool SavePng(const ChartPainter &paint, const QSize &size,
             const QString &path) {
  QImage image(size, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  {
    QPainter painter(&image);
    painter.setRenderHint(QPainter::Antialiasing);
    paint(painter, size);
  }
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || !image.save(&file, "PNG")) {
    file.cancelWriting();
    return false;
  }
  return file.commit();
}

} // namespace

QString ChartImageFilter() {
  return QStringLiteral("PNG 图像 (*.png);;SVG 图像 (*.svg);;PDF 文档 (*.pdf)");
}

bool SaveChartImage(const ChartPainter &paint, const QSize &size,
                    const QString &path, QString *error) {
  if (!paint || size.isEmpty() || size.width() > 20000 ||
      size.height() > 20000) {
    *error = QStringLiteral("图片尺寸无效！");
    return false;
  }
  const QString suffix = QFileInfo(path).suffix().toLower();
  bool saved = false;
  if (suffix == QLatin1String("pdf"))
    saved = SavePdf(paint, size, path);
  else if (suffix == QLatin1String("svg"))
    saved = SaveSvg(paint, size, path);
  else
    saved = SavePng(paint, size, path);
  if (!saved)
    *error = CannotWrite(path);
  return saved;
}

bool AskAndSaveChartImage(QWidget *parent, const ChartPainter &paint,
                          const QSize &size, const QString &nearPath) {
  QDialog dialog(parent);
  dialog.setWindowTitle(QStringLiteral("保存图片"));
  auto *form = new QFormLayout(&dialog);
  auto *width = new QSpinBox(&dialog);
  auto *height = new QSpinBox(&dialog);
  for (QSpinBox *box : {width, height}) {
    box->setRange(16, 20000);
    box->setSuffix(QStringLiteral(" 像素"));
  }
  width->setValue(size.width() > 0 ? size.width() : 800);
  height->setValue(size.height() > 0 ? size.height() : 600);
  width->setAccessibleName(QStringLiteral("宽度"));
  height->setAccessibleName(QStringLiteral("高度"));
  form->addRow(QStringLiteral("宽度"), width);
  form->addRow(QStringLiteral("高度"), height);
  auto *buttons = new QDialogButtonBox(&dialog);
  buttons->addButton(QStringLiteral("保存…"), QDialogButtonBox::AcceptRole);
  buttons->addButton(QStringLiteral("取消"), QDialogButtonBox::RejectRole);
  QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog,
                   &QDialog::accept);
  QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog,
                   &QDialog::reject);
  form->addRow(buttons);
  if (dialog.exec() != QDialog::Accepted)
    return false;
  const QString path = QFileDialog::getSaveFileName(
      parent, QStringLiteral("保存图片"), StartFolder(nearPath), ChartImageFilter());
  if (path.isEmpty())
    return false;
  QString error;
  if (SaveChartImage(paint, QSize(width->value(), height->value()), path,
                     &error))
    return true;
  ShowMessage(error);
  return false;
}
