// Messages held while a piece of work runs.
#include "base/held_messages.h"

HeldMessages::HeldMessages() : previous_(&CurrentPrompt()) { SetPrompt(this); }

HeldMessages::~HeldMessages() {
  if (holding_)
    SetPrompt(previous_);
}

bool HeldMessages::AskYesNo(const QString &text) {
  texts_.append(text);
  return false;
}

int HeldMessages::AskChoice(const QString &text, const QStringList &) {
  texts_.append(text);
  return -1;
}

void HeldMessages::Release() {
  if (!holding_)
    return;
  holding_ = false;
  SetPrompt(previous_);
  for (const QString &text : texts_)
    previous_->Message(text);
}

void HeldMessages::ReplaceWith(const QString &text) {
  texts_ = QStringList{text};
  Release();
}
