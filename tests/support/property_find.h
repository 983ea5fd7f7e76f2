// Finding an item of a property grid by its caption, for tests that press
// or read it as a user would.
#pragma once

#include <QString>

class PropertyItem;

// The first item below parent, depth first, whose caption is caption; null
// when there is none.
PropertyItem *FindProperty(const PropertyItem &parent, const QString &caption);
