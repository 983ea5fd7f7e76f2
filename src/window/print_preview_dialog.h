// "打印预览": the pages of a print job as they will be printed, one at a
// time, painted when shown by the same code that prints them; no page is
// kept as a picture, so a preview of ten thousand records takes no more
// memory than one of ten. The page set-up can be changed from here, and
// 打印… prints.
#pragma once

#include "print/page_frame.h"

#include <QDialog>
#include <QPageLayout>

class PrintJob;
class QLabel;
class QPrinter;
class QPushButton;
class QSpinBox;

class PrintPreviewDialog : public QDialog {
  Q_OBJECT

public:
  // job and printer must outlive the dialog. 打印… closes the dialog as
  // accepted: its caller prints then.
  PrintPreviewDialog(PrintJob &job, const PageFrame &frame, QPrinter &printer,
                     QWidget *parent = nullptr);
  ~PrintPreviewDialog() override;

  int PageCount() const { return pageCount_; }
  int CurrentPage() const { return current_; }
  void ShowPage(int index);
  // Lays the pages out again for the printer's page layout (turned to
  // landscape when that makes the job fit, as printing does).
  void Relayout();
  // Paints page index as the preview shows it into a rectangle of size.
  void PaintPreview(QPainter &painter, const QSize &size, int index) const;

private:
  class PageView;

  void UpdateControls();

  PrintJob &job_;
  PageFrame frame_;
  QPrinter &printer_;
  QPageLayout layout_;
  PageView *view_;
  QSpinBox *page_;
  QLabel *count_;
  QPushButton *previous_;
  QPushButton *next_;
  int pageCount_ = 1;
  int current_ = 0;
};
