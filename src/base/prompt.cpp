// The current prompt and the stderr prompt of the command line.
#include "base/prompt.h"

#include <cstdio>

namespace {

StderrPrompt &DefaultPrompt() {
  static StderrPrompt prompt;
  return prompt;
}

Prompt *current = nullptr;

} // namespace

Prompt &CurrentPrompt() { return current ? *current : DefaultPrompt(); }

void SetPrompt(Prompt *prompt) { current = prompt; }

void ShowMessage(const QString &text) { CurrentPrompt().Message(text); }

ScopedPrompt::ScopedPrompt(Prompt &prompt) : previous_(current) {
  current = &prompt;
}

ScopedPrompt::~ScopedPrompt() { current = previous_; }

CollectingPrompt::CollectingPrompt() : previous_(CurrentPrompt()), scope_(*this) {}

CollectingPrompt::~CollectingPrompt() = default;

void StderrPrompt::Message(const QString &text) {
  const QByteArray bytes = text.toUtf8();
  std::fprintf(stderr, "%s\n", bytes.constData());
  std::fflush(stderr);
}

bool StderrPrompt::AskYesNo(const QString &text) {
  Message(text);
  return false;
}

int StderrPrompt::AskChoice(const QString &text, const QStringList &) {
  Message(text);
  return -1;
}
