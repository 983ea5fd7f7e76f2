// A prompt that holds what a piece of work says, so that the user is told
// once: the texts are kept while the work runs, and then either shown as
// they were or replaced by one message that sums up a failure.
#pragma once

#include "base/prompt.h"

#include <QStringList>

class HeldMessages : public Prompt {
public:
  // Holds the messages from now until the object goes.
  HeldMessages();
  ~HeldMessages() override;
  HeldMessages(const HeldMessages &) = delete;
  HeldMessages &operator=(const HeldMessages &) = delete;

  void Message(const QString &text) override { texts_.append(text); }
  // Nobody can answer while the work runs: questions are held and answered
  // "no".
  bool AskYesNo(const QString &text) override;
  int AskChoice(const QString &text, const QStringList &) override;

  const QStringList &Texts() const { return texts_; }
  // Stops holding and shows the texts held through the prompt that was
  // current before.
  void Release();
  // Stops holding and shows text in place of what was held.
  void ReplaceWith(const QString &text);

private:
  Prompt *previous_;
  QStringList texts_;
  bool holding_ = true;
};
