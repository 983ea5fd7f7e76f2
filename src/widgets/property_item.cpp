// The items of a property grid.
#include "widgets/property_item.h"

#include "base/date_text.h"

#include <algorithm>

int PropertyItem::Row() const {
  if (!parent_)
    return 0;
  const auto &siblings = parent_->children_;
  const auto at = std::find_if(siblings.begin(), siblings.end(),
                               [this](const auto &p) { return p.get() == this; });
  return int(at - siblings.begin());
}

PropertyItem *PropertyItem::Add(Type childType, const QString &childCaption,
                                const QString &childDescription) {
  children_.push_back(
      std::make_unique<PropertyItem>(childType, childCaption, childDescription));
  children_.back()->parent_ = this;
  return children_.back().get();
}

QString PropertyItem::ChoiceData() const {
  return choice >= 0 && choice < choiceData.size() ? choiceData.at(choice)
                                                   : QString();
}

bool PropertyItem::ChooseData(const QString &data) {
  for (int i = 0; i < choiceData.size(); ++i) {
    if (choiceData.at(i).compare(data, Qt::CaseInsensitive) != 0)
      continue;
    choice = i;
    return true;
  }
  return false;
}

QString PropertyItem::ValueText() const {
  switch (type) {
  case Date:
    if (!date.isValid())
      return QString();
    return DayText(date.date()) + QLatin1Char(' ') + TimeOfDayText(date.time());
  case Number: {
    QString shown = QString::number(number, 'f', 8);
    while (shown.endsWith(QLatin1Char('0')))
      shown.chop(1);
    if (shown.endsWith(QLatin1Char('.')))
      shown.chop(1);
    return shown == QLatin1String("-0") ? QStringLiteral("0") : shown;
  }
  case Text:
    return text;
  case Choice:
    return choice >= 0 && choice < choices.size() ? choices.at(choice)
                                                  : QString();
  case Category:
  case Check:
    break;
  }
  return QString();
}
