// A prompt for tests: records every text it is shown and answers questions
// from a prepared queue (no when the queue is empty).
#pragma once

#include "base/prompt.h"

#include <QList>

class ScriptedPrompt : public Prompt {
public:
  void Message(const QString &text) override;
  bool AskYesNo(const QString &text) override;
  int AskChoice(const QString &text, const QStringList &buttons) override;

  // Answers for the next questions, in order: for AskYesNo non-zero is yes,
  // for AskChoice the value is the button index.
  void QueueAnswer(int answer) { answers_.append(answer); }

  // Every text shown, messages and questions alike, in order.
  const QStringList &Texts() const { return texts_; }
  QString Last() const { return texts_.isEmpty() ? QString() : texts_.last(); }
  void Clear() { texts_.clear(); }

private:
  int NextAnswer(int fallback);

  QStringList texts_;
  QList<int> answers_;
};
