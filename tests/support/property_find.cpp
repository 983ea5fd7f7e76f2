// Property items by caption; see property_find.h.
#include "support/property_find.h"

#include "widgets/property_item.h"

PropertyItem *FindProperty(const PropertyItem &parent, const QString &caption) {
  for (int i = 0; i < parent.ChildCount(); ++i) {
    PropertyItem *child = parent.Child(i);
    if (child->caption == caption)
      return child;
    if (PropertyItem *found = FindProperty(*child, caption))
      return found;
  }
  return nullptr;
}
