// The one way the system shows a message or asks a question.
//
// Every part reports failures and asks its questions through the current
// Prompt: the desktop program installs one that shows message boxes, the
// command line one that writes to stderr, and tests a scripted one that
// records the texts and gives prepared answers. Nothing here blocks a test.
#pragma once

#include <QString>
#include <QStringList>

#include <optional>

class Prompt {
public:
  virtual ~Prompt() = default;

  // A message with an OK button only.
  virtual void Message(const QString &text) = 0;
  // A question with yes and no; true for yes.
  virtual bool AskYesNo(const QString &text) = 0;
  // A question with the given buttons; the index of the chosen button, or -1
  // when the question was dismissed.
  virtual int AskChoice(const QString &text, const QStringList &buttons) = 0;
  // Asks for a text under title, offering names to pick from and starting
  // with start; the text chosen, or nothing when the question was dismissed.
  // Prompts that cannot ask answer nothing.
  virtual std::optional<QString> AskText(const QString &title,
                                         const QStringList &names,
                                         const QString &start) {
    (void)title, (void)names, (void)start;
    return std::nullopt;
  }
  // A warning question with its own title and a default button (the one
  // Enter presses); the index of the chosen button, or -1. Prompts without
  // titles answer it as AskChoice.
  virtual int AskWarning(const QString &title, const QString &text,
                         const QStringList &buttons, int defaultButton) {
    (void)title;
    (void)defaultButton;
    return AskChoice(text, buttons);
  }
};

// The prompt in use; never null. Until one is installed it is a StderrPrompt.
Prompt &CurrentPrompt();
// Installs prompt as the current one (not owned); null restores the default.
void SetPrompt(Prompt *prompt);

// Shorthand for CurrentPrompt().Message(text).
void ShowMessage(const QString &text);

// Installs a prompt for the lifetime of the object and restores the previous
// one afterwards.
class ScopedPrompt {
public:
  explicit ScopedPrompt(Prompt &prompt);
  ~ScopedPrompt();
  ScopedPrompt(const ScopedPrompt &) = delete;
  ScopedPrompt &operator=(const ScopedPrompt &) = delete;

private:
  Prompt *previous_;
};

// Writes every message to stderr; questions get the answer "no" (or -1),
// since nobody can answer them.
class StderrPrompt : public Prompt {
public:
  void Message(const QString &text) override;
  bool AskYesNo(const QString &text) override;
  int AskChoice(const QString &text, const QStringList &buttons) override;
};

// Shows nothing and answers every question with "no" (or -1): for steps
// whose failures are expected and of no concern to the user, and for fuzzing.
class SilentPrompt : public Prompt {
public:
  void Message(const QString &) override {}
  bool AskYesNo(const QString &) override { return false; }
  int AskChoice(const QString &, const QStringList &) override { return -1; }
};

// Keeps the messages shown while it is installed instead of showing them,
// so that a step made of several statements can report its failure in one
// message of its own; questions still reach the prompt it replaced.
class CollectingPrompt : public Prompt {
public:
  // Installs itself; the destructor restores the previous prompt.
  CollectingPrompt();
  ~CollectingPrompt() override;
  CollectingPrompt(const CollectingPrompt &) = delete;
  CollectingPrompt &operator=(const CollectingPrompt &) = delete;

  void Message(const QString &text) override { texts_.append(text); }
  bool AskYesNo(const QString &text) override { return previous_.AskYesNo(text); }
  int AskChoice(const QString &text, const QStringList &buttons) override {
    return previous_.AskChoice(text, buttons);
  }

  const QStringList &Texts() const { return texts_; }

private:
  Prompt &previous_;
  ScopedPrompt scope_;
  QStringList texts_;
};
