// Saving a chart as a picture: the chart's own painting code draws onto an
// image (PNG), an SVG generator or a PDF page of the size asked for, so the
// file shows what the screen shows.
#pragma once

#include <QSize>
#include <QString>

#include <functional>

class QPainter;
class QWidget;

// Draws the chart into the rectangle (0, 0, size).
using ChartPainter = std::function<void(QPainter &painter, const QSize &size)>;

// The file dialog filter of the picture formats.
QString ChartImageFilter();

// Writes the picture to path, as PNG, SVG or PDF by its extension (PNG when
// it has none of these). A failure leaves no file behind and gives a
// message in error.
bool SaveChartImage(const ChartPainter &paint, const QSize &size,
                    const QString &path, QString *error);

// "保存图片…": asks for the size (starting at size) and the file (in the
// folder of nearPath, the account file shown), then saves; failures are
// shown through the prompt. False when cancelled or failed.
bool AskAndSaveChartImage(QWidget *parent, const ChartPainter &paint,
                          const QSize &size, const QString &nearPath);
