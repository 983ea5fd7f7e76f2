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
  // Records the title and answers with the next queued text (nothing when
  // the queue is empty); the names offered are kept for LastNames().
  std::optional<QString> AskText(const QString &title, const QStringList &names,
                                 const QString &start) override;

  // Answers for the next questions, in order: for AskYesNo non-zero is yes,
  // for AskChoice the value is the button index.
  void QueueAnswer(int answer) { answers_.append(answer); }
  // The answer to the next text question; nothing dismisses it.
  void QueueText(const std::optional<QString> &text) { textAnswers_.append(text); }

  // The names and starting text of the last text question.
  const QStringList &LastNames() const { return lastNames_; }
  const QString &LastStart() const { return lastStart_; }

  // Every text shown, messages and questions alike, in order.
  const QStringList &Texts() const { return texts_; }
  QString Last() const { return texts_.isEmpty() ? QString() : texts_.last(); }
  void Clear() { texts_.clear(); }

private:
  int NextAnswer(int fallback);

  QStringList texts_;
  QList<int> answers_;
  QList<std::optional<QString>> textAnswers_;
  QStringList lastNames_;
  QString lastStart_;
};
