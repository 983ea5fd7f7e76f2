// Keeps the first message shown while it lives instead of showing it, so
// that a step whose failure is reported as part of a larger one (a
// recurring record named and skipped) gives one message with its reason,
// not a message box of its own.
#pragma once

#include "base/prompt.h"

class FirstMessage : public Prompt {
public:
  FirstMessage() : scoped_(*this) {}

  void Message(const QString &text) override {
    if (first_.isEmpty())
      first_ = text;
  }
  bool AskYesNo(const QString &) override { return false; }
  int AskChoice(const QString &, const QStringList &) override { return -1; }

  // The first message on one line; empty when none was shown.
  QString Text() const {
    QString text = first_;
    text.remove(QLatin1Char('\r'));
    text.remove(QLatin1Char('\n'));
    return text;
  }

private:
  QString first_;
  ScopedPrompt scoped_;
};
