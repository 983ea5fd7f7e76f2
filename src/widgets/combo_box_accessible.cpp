// Combo boxes named by their label; see combo_box_accessible.h.
#include "widgets/combo_box_accessible.h"

#include <QAbstractItemView>
#include <QAccessibleWidget>
#include <QComboBox>
#include <QLineEdit>

namespace {

class ComboBoxAccessible : public QAccessibleWidget {
public:
  explicit ComboBoxAccessible(QComboBox *box)
      : QAccessibleWidget(box, QAccessible::ComboBox) {}

  QString text(QAccessible::Text kind) const override {
    if (kind == QAccessible::Value)
      return Box()->isEditable() && Box()->lineEdit()
                 ? Box()->lineEdit()->text()
                 : Box()->currentText();
    // The accessible name, else the buddy label's text.
    return QAccessibleWidget::text(kind);
  }

  int childCount() const override { return Box()->view() ? 1 : 0; }
  QAccessibleInterface *child(int index) const override {
    return index == 0 && Box()->view()
               ? QAccessible::queryAccessibleInterface(Box()->view())
               : nullptr;
  }
  int indexOfChild(const QAccessibleInterface *child) const override {
    return child && child->object() == Box()->view() ? 0 : -1;
  }

  QStringList actionNames() const override {
    return {showMenuAction(), pressAction()};
  }
  void doAction(const QString &name) override {
    if (name == showMenuAction() || name == pressAction())
      Box()->showPopup();
  }
  QStringList keyBindingsForAction(const QString &) const override {
    return {};
  }

private:
  QComboBox *Box() const { return static_cast<QComboBox *>(object()); }
};

QAccessibleInterface *ComboBoxFactory(const QString &className,
                                      QObject *object) {
  auto *box = qobject_cast<QComboBox *>(object);
  // Asked once, for the box's own class.
  if (!box || className != QLatin1String(object->metaObject()->className()))
    return nullptr;
  return new ComboBoxAccessible(box);
}

} // namespace

void UseLabelledComboBoxes() {
  static const bool installed = [] {
    QAccessible::installFactory(ComboBoxFactory);
    return true;
  }();
  (void)installed;
}
