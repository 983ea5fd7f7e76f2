// The property grid: view, editors, in-place buttons and description area.
#include "widgets/property_grid.h"

#include "base/date_text.h"
#include "base/prompt.h"
#include "widgets/date_line_edit.h"
#include "widgets/item_view_accessible.h"
#include "widgets/property_model.h"

#include <QComboBox>
#include <QDoubleSpinBox>
#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QStyledItemDelegate>
#include <QToolButton>
#include <QTreeView>
#include <QVBoxLayout>

#include <utility>

#include <cfloat>

namespace {

// A date typed into a date item: the day alone, or the day and the time
// typed with it. A text that names no day changes nothing and is refused
// once the editor is gone, so that the message box does not take the focus
// from an editor still open.
void CommitTypedDate(QAbstractItemModel &model, const QModelIndex &index,
                     const QString &text) {
  DateTextParts parts;
  if (!ReadDateText(text, parts) || !parts.hasDate) {
    QMetaObject::invokeMethod(
        &model, [] { ShowMessage(QStringLiteral("日期格式不正确")); },
        Qt::QueuedConnection);
    return;
  }
  const QVariant value = parts.hasTime
                             ? QVariant(QDateTime(parts.date, parts.time))
                             : QVariant(parts.date);
  model.setData(index, value, Qt::EditRole);
}

// Editors of the value column, by item type.
class PropertyDelegate : public QStyledItemDelegate {
public:
  PropertyDelegate(PropertyModel *model, QObject *parent)
      : QStyledItemDelegate(parent), model_(model) {}

  QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option,
                        const QModelIndex &index) const override {
    const PropertyItem &item = *model_->ItemOf(index);
    switch (item.type) {
    case PropertyItem::Date: {
      auto *edit = new DateLineEdit(parent);
      auto *self = const_cast<PropertyDelegate *>(this);
      // Picking a day is the end of the edit.
      connect(edit, &DateLineEdit::DayPicked, self, [self, edit] {
        emit self->commitData(edit);
        emit self->closeEditor(edit, QAbstractItemDelegate::SubmitModelCache);
      });
      return edit;
    }
    case PropertyItem::Number: {
      // The whole range of a double; the spin box's default would clamp
      // every value to 0 .. 99.99.
      auto *spin = new QDoubleSpinBox(parent);
      spin->setRange(-DBL_MAX, DBL_MAX);
      spin->setDecimals(8);
      spin->setGroupSeparatorShown(false);
      return spin;
    }
    case PropertyItem::Choice: {
      auto *box = new QComboBox(parent);
      box->addItems(item.choices);
      return box;
    }
    case PropertyItem::Text:
      return new QLineEdit(parent);
    default:
      return QStyledItemDelegate::createEditor(parent, option, index);
    }
  }

  void setEditorData(QWidget *editor, const QModelIndex &index) const override {
    const PropertyItem &item = *model_->ItemOf(index);
    if (auto *edit = qobject_cast<DateLineEdit *>(editor))
      edit->setText(item.ValueText());
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
      spin->setValue(item.number);
    else if (auto *box = qobject_cast<QComboBox *>(editor))
      box->setCurrentIndex(item.choice);
    else if (auto *line = qobject_cast<QLineEdit *>(editor))
      line->setText(item.text);
  }

  void setModelData(QWidget *editor, QAbstractItemModel *model,
                    const QModelIndex &index) const override {
    if (auto *edit = qobject_cast<DateLineEdit *>(editor))
      CommitTypedDate(*model, index, edit->text());
    else if (auto *spin = qobject_cast<QDoubleSpinBox *>(editor))
      model->setData(index, spin->value(), Qt::EditRole);
    else if (auto *box = qobject_cast<QComboBox *>(editor))
      model->setData(index, box->currentIndex(), Qt::EditRole);
    else if (auto *line = qobject_cast<QLineEdit *>(editor))
      model->setData(index, line->text(), Qt::EditRole);
  }

  // A date value leaves room for its editor's calendar button, so that
  // the date typed stays in sight.
  QSize sizeHint(const QStyleOptionViewItem &option,
                 const QModelIndex &index) const override {
    QSize size = QStyledItemDelegate::sizeHint(option, index);
    if (index.column() == PropertyModel::ValueColumn &&
        model_->ItemOf(index)->type == PropertyItem::Date)
      size.rwidth() += 2 * size.height();
    return size;
  }

private:
  PropertyModel *model_;
};

// A tree view whose edit triggers on a caption act on the value beside it,
// so that the keyboard reaches every value from any column. Check boxes
// sit in the caption column themselves.
class PropertyTreeView : public QTreeView {
public:
  PropertyTreeView(PropertyModel *model, QWidget *parent)
      : QTreeView(parent), model_(model) {}

protected:
  bool edit(const QModelIndex &index, EditTrigger trigger,
            QEvent *event) override {
    // A check box is ticked through the delegate even where its row holds
    // an in-place button, which the base would focus instead.
    if (index.isValid() && event &&
        model_->ItemOf(index)->type == PropertyItem::Check) {
      QStyleOptionViewItem option;
      initViewItemOption(&option);
      option.rect = visualRect(index.siblingAtColumn(PropertyModel::CaptionColumn));
      if (itemDelegate()->editorEvent(
              event, model(), option,
              index.siblingAtColumn(PropertyModel::CaptionColumn))) {
        update(index);
        return true;
      }
      return false;
    }
    if (index.isValid() && index.column() != PropertyModel::ValueColumn &&
        model_->ItemOf(index)->type != PropertyItem::Check) {
      const QModelIndex value = index.siblingAtColumn(PropertyModel::ValueColumn);
      if (trigger == SelectedClicked || trigger == DoubleClicked ||
          trigger == EditKeyPressed || trigger == AnyKeyPressed)
        return QTreeView::edit(value, trigger, event);
    }
    return QTreeView::edit(index, trigger, event);
  }

private:
  PropertyModel *model_;
};

} // namespace

PropertyGrid::PropertyGrid(QWidget *parent)
    : QWidget(parent), model_(new PropertyModel(this)),
      view_(new PropertyTreeView(model_, this)), description_(new QLabel(this)) {
  UseLazyAccessibleTable(view_);
  view_->setModel(model_);
  view_->setItemDelegate(new PropertyDelegate(model_, view_));
  view_->setHeaderHidden(true);
  view_->setAlternatingRowColors(true);
  view_->setUniformRowHeights(true); // every row is one line high
  view_->setAllColumnsShowFocus(true);
  view_->setSelectionBehavior(QAbstractItemView::SelectRows);
  view_->setEditTriggers(QAbstractItemView::DoubleClicked |
                         QAbstractItemView::SelectedClicked |
                         QAbstractItemView::EditKeyPressed |
                         QAbstractItemView::AnyKeyPressed);
  view_->setIndentation(10);
  QHeaderView *header = view_->header();
  header->setStretchLastSection(false);
  // Values and buttons take what they need, captions the rest.
  header->setSectionResizeMode(PropertyModel::CaptionColumn, QHeaderView::Stretch);
  // Sized to its contents once per rebuild or refresh, not at every row
  // change.
  header->setSectionResizeMode(PropertyModel::ValueColumn, QHeaderView::Fixed);

  description_->setWordWrap(true);
  description_->setTextFormat(Qt::RichText);
  description_->setAlignment(Qt::AlignLeft | Qt::AlignTop);
  description_->setFrameShape(QFrame::StyledPanel);
  description_->setMinimumHeight(3 * fontMetrics().height() + 8);
  description_->setMargin(4);

  auto *layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(2);
  layout->addWidget(view_, 1);
  layout->addWidget(description_);

  view_->viewport()->installEventFilter(this);
  connect(model_, &PropertyModel::UserEdited, this,
          [this](PropertyItem *item) { emit ValueChanged(item); });
  connect(view_->selectionModel(), &QItemSelectionModel::currentChanged, this,
          [this](const QModelIndex &current) { ShowDescription(current); });
}

PropertyItem &PropertyGrid::Root() { return model_->Root(); }
const PropertyItem &PropertyGrid::Root() const { return model_->Root(); }

void PropertyGrid::Clear() {
  Rebuild(nullptr);
}

void PropertyGrid::Rebuild(
    const std::function<void(PropertyItem &root)> &build) {
  view_->setUpdatesEnabled(false);
  for (QToolButton *button : std::as_const(buttons_)) {
    button->hide();
    button->deleteLater(); // its own click may have led here
  }
  buttons_.clear();
  model_->Reset(build);
  MakeButtons(model_->Root());
  ApplyRowStates(model_->Root());
  view_->resizeColumnToContents(PropertyModel::ValueColumn);
  view_->setUpdatesEnabled(true);
  PlaceButtons();
  ShowDescription(QModelIndex());
}

void PropertyGrid::Refresh() {
  view_->setUpdatesEnabled(false);
  model_->Refresh();
  ApplyRowStates(model_->Root());
  view_->resizeColumnToContents(PropertyModel::ValueColumn);
  view_->setUpdatesEnabled(true);
  for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
    const InplaceButton &button = *it.key()->button;
    it.value()->setText(button.caption);
    it.value()->setAccessibleName(button.caption);
    it.value()->setEnabled(button.enabled);
  }
  PlaceButtons();
  ShowDescription(view_->currentIndex());
}

void PropertyGrid::ExpandAll() {
  view_->expandAll();
  view_->resizeColumnToContents(PropertyModel::ValueColumn);
  PlaceButtons();
}

QToolButton *PropertyGrid::ButtonOf(const PropertyItem *item) const {
  return buttons_.value(item);
}

QModelIndex PropertyGrid::IndexOf(const PropertyItem *item, int column) const {
  return model_->IndexOf(item, column);
}

void PropertyGrid::MakeButtons(PropertyItem &parent) {
  for (int i = 0; i < parent.ChildCount(); ++i) {
    PropertyItem *item = parent.Child(i);
    if (item->button) {
      auto *button = new QToolButton(this);
      button->setText(item->button->caption);
      button->setAccessibleName(item->button->caption);
      button->setEnabled(item->button->enabled);
      button->setFocusPolicy(Qt::StrongFocus);
      const int id = item->button->id;
      connect(button, &QToolButton::clicked, this,
              [this, item, id] { emit ButtonPressed(item, id); });
      buttons_.insert(item, button);
    }
    MakeButtons(*item);
  }
}

void PropertyGrid::ApplyRowStates(const PropertyItem &parent) {
  const QModelIndex parentIndex = model_->IndexOf(&parent);
  for (int i = 0; i < parent.ChildCount(); ++i) {
    const PropertyItem *item = parent.Child(i);
    view_->setRowHidden(i, parentIndex, item->hidden);
    // Rows without a value use the whole width for their caption.
    const bool noValue = item->type == PropertyItem::Category ||
                         item->type == PropertyItem::Check;
    view_->setFirstColumnSpanned(i, parentIndex, noValue);
    ApplyRowStates(*item);
  }
}

void PropertyGrid::ShowDescription(const QModelIndex &current) {
  if (!current.isValid()) {
    description_->clear();
    return;
  }
  const PropertyItem &item = *model_->ItemOf(current);
  description_->setText(QStringLiteral("<b>%1</b><br>%2")
                            .arg(item.caption.toHtmlEscaped(),
                                 item.description.toHtmlEscaped()));
}

void PropertyGrid::PlaceButtons() {
  const QRect viewport(view_->viewport()->mapTo(this, QPoint(0, 0)),
                       view_->viewport()->size());
  for (auto it = buttons_.begin(); it != buttons_.end(); ++it) {
    QToolButton *button = it.value();
    const QRect row = view_->visualRect(model_->IndexOf(it.key()));
    if (!row.isValid()) {
      button->hide();
      continue;
    }
    // At the right end of the row, as tall as the row.
    const QSize size(button->sizeHint().width(), row.height());
    const QPoint topLeft =
        view_->viewport()->mapTo(this, QPoint(view_->viewport()->width() - size.width(),
                                              row.top()));
    const QRect place(topLeft, size);
    const QRect shown = place.intersected(viewport);
    if (shown.isEmpty()) {
      button->hide();
      continue;
    }
    button->setGeometry(place);
    button->setMask(QRegion(shown.translated(-place.topLeft())));
    button->show();
    button->raise();
  }
}

bool PropertyGrid::eventFilter(QObject *watched, QEvent *event) {
  // Whatever moves rows (scrolling, expanding, hiding, resizing) repaints
  // the viewport; the buttons follow their rows then.
  if (watched == view_->viewport() &&
      (event->type() == QEvent::Paint || event->type() == QEvent::Resize))
    PlaceButtons();
  return QWidget::eventFilter(watched, event);
}
