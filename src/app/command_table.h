// The menu commands of a window by caption: the window enables them as its state changes,
// and tests find them as a user would, by what the menu shows.
#pragma once

#include <QAction>
#include <QMenu>
#include <QString>

#include <map>

namespace lumacet {

class TCommandTable {
 public:
  // Appends `caption` to `menu`, running `handler` on `receiver` when chosen. Without a
  // handler the command shows disabled: its tool is not part of the program yet.
  template <class TReceiver>
  QAction* Add(QMenu& menu, const QString& caption, TReceiver* receiver, void (TReceiver::*handler)()) {
    QAction* action = menu.addAction(caption);
    if (handler != nullptr) {
      QObject::connect(action, &QAction::triggered, receiver, handler);
    } else {
      action->setEnabled(false);
    }
    Keep(action);
    return action;
  }
  // Keeps a command built elsewhere under its caption.
  void Keep(QAction* action) { fCommands[action->text()] = action; }
  // The command of that caption; null when there is none.
  QAction* Find(const QString& caption) const;
  bool Empty() const { return fCommands.empty(); }

 private:
  std::map<QString, QAction*> fCommands;
};

}  // namespace lumacet
