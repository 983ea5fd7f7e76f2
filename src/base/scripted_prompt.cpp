// The recording prompt used by tests.
#include "base/scripted_prompt.h"

void ScriptedPrompt::Message(const QString &text) { texts_.append(text); }

bool ScriptedPrompt::AskYesNo(const QString &text) {
  texts_.append(text);
  return NextAnswer(0) != 0;
}

int ScriptedPrompt::AskChoice(const QString &text, const QStringList &) {
  texts_.append(text);
  return NextAnswer(-1);
}

std::optional<QString> ScriptedPrompt::AskText(const QString &title,
                                              const QStringList &names,
                                              const QString &start) {
  texts_.append(title);
  lastNames_ = names;
  lastStart_ = start;
  if (textAnswers_.isEmpty())
    return std::nullopt;
  return textAnswers_.takeFirst();
}

int ScriptedPrompt::NextAnswer(int fallback) {
  return answers_.isEmpty() ? fallback : answers_.takeFirst();
}
