// The base of every side pane of a document window: a toolbar along the
// bottom, the content above it, and the choice between sending the pane's
// changes at once ("即时更新") or collecting them until "执行筛选".
//
// A pane is a plain widget hosted by its window: Enter and Escape do
// nothing in it. It sends its hints through the account file's change
// notification, and only on the user's actions: what the program sets
// (rebuilds, loading a template) sends nothing.
#pragma once

#include "window/pane_update_state.h"

#include <QWidget>

class AccountFile;
class DocumentWindow;
class PaneToolBar;
class QVBoxLayout;

class CSorvanBasePane : public QWidget {
  Q_OBJECT
public:
  enum Command : int {
    ID_IMMEDIATE_UPDATE = 32806, // "即时更新"
    ID_APPLY = 32808,            // "执行筛选"
  };

  explicit CSorvanBasePane(DocumentWindow *window, QWidget *parent = nullptr);

  DocumentWindow *Window() const { return window_; }
  // The window's account file; null without a window or file.
  AccountFile *File() const;

  // The WHERE text of the pane's settings; false in the base and when the
  // settings give no valid text.
  virtual bool GetConditionText(QString &text) const;
  // The window's change dispatcher passes every notification; a pane
  // rebuilds when the hint carries its bit. Nothing in the base.
  virtual void OnChangeNotify(unsigned hint);

  bool ImmediateUpdate() const { return update_.Immediate(); }
  // Switching immediate update on sends what was waiting, so that the
  // pages follow the pane at once.
  void SetImmediateUpdate(bool on);
  bool ChangePending() const { return update_.Pending(); }
  unsigned PendingMask() const { return update_.PendingMask(); }

  // A change of the pane: sent at once with immediate update on, else
  // collected until Apply.
  void NotifyChange(unsigned hint);
  // Command 32808: sends the pending mask, if a change is pending.
  void Apply();

  PaneToolBar *ToolBar() const { return toolBar_; }

  // The least height that shows the whole toolbar at width: the content's
  // smallest height and the (possibly wrapped) toolbar. The folder bar's
  // scroll area sizes the pane by it, so that a short window scrolls the
  // pane's tree or grid, never the toolbar out of view.
  int heightForWidth(int width) const override;

signals:
  // After the pane sent a hint through the file's notification.
  void HintSent(unsigned hint);

protected:
  // Sends hint to every window of the file now and forgets what is pending.
  void SendNow(unsigned hint);
  // Adds "即时更新" (32806) and "执行筛选" (32808) to the toolbar.
  void AddUpdateCommands();
  // The widget that fills the pane above the toolbar (owned by the pane).
  void SetContent(QWidget *content);
  // Called whenever the pending state changed, for the toolbar's states.
  void UpdateCommandStates();

  void keyPressEvent(QKeyEvent *event) override;

private:
  DocumentWindow *window_;
  PaneUpdateState update_;
  PaneToolBar *toolBar_;
  QVBoxLayout *layout_;
  QWidget *content_ = nullptr;
};
