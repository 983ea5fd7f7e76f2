// One entry of a property grid: a category or a value item (check box,
// date, number, text or a choice from a list) with its caption and
// description, a hidden flag, a tag for the owner (a kind number and
// whatever the item stands for) and an optional in-place button.
//
// The tree of items is the grid's model: owners build it, read it and set
// values on it directly; the grid shows it and reports the user's edits.
#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <any>
#include <memory>
#include <optional>
#include <vector>

// A button shown at the right of an item's row.
struct InplaceButton {
  int id = 0;
  QString caption;
  bool enabled = true;
  // Kept for the owner: for the select-all buttons of the filter grids,
  // whether the next press clears the options.
  bool flag = true;
};

class PropertyItem {
public:
  enum Type { Category, Check, Date, Number, Text, Choice };

  explicit PropertyItem(Type type, const QString &caption = QString(),
                        const QString &description = QString())
      : type(type), caption(caption), description(description) {}
  PropertyItem(const PropertyItem &) = delete;
  PropertyItem &operator=(const PropertyItem &) = delete;

  const Type type;
  QString caption;
  QString description;
  bool redCaption = false; // column entries are captioned in red

  // The value, by type.
  bool checked = false;     // Check
  QDateTime date;           // Date
  bool timeTyped = false;   // Date: the user's last edit gave a time of day
  double number = 0;        // Number
  QString text;             // Text
  QStringList choices;      // Choice: the captions offered
  QStringList choiceData;   // Choice: what each choice stands for
  int choice = -1;          // Choice: the index chosen, -1 for none

  bool hidden = false;
  int tag = 0;                      // the owner's kind number
  std::any payload;                 // what the item stands for, the owner's
  std::optional<InplaceButton> button;

  // The tree.
  PropertyItem *Parent() const { return parent_; }
  int ChildCount() const { return int(children_.size()); }
  PropertyItem *Child(int i) const { return children_.at(i).get(); }
  // The position among the parent's children; 0 for the root.
  int Row() const;
  PropertyItem *Add(Type type, const QString &caption = QString(),
                    const QString &description = QString());
  void ClearChildren() { children_.clear(); }

  // The chosen choice's data; empty when nothing is chosen.
  QString ChoiceData() const;
  // Chooses the choice whose data is data, in any case; false, and nothing
  // changed, when there is none.
  bool ChooseData(const QString &data);
  // The value as shown: a date as "yyyy/M/d H:mm:ss", a number with at
  // most eight decimals, the chosen caption; empty for check boxes and
  // categories.
  QString ValueText() const;

private:
  PropertyItem *parent_ = nullptr;
  std::vector<std::unique_ptr<PropertyItem>> children_;
};
