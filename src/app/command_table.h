// The commands of a window by their identifiers ("file.save", shell/commands.h): menus and
// tool bars add them with the engine's captions translated, the window enables them as its
// state changes, and tests find them by identifier. Each action and menu carries its
// identifier as its object name.
#pragma once

#include <QAction>
#include <QIcon>
#include <QKeySequence>
#include <QMenu>
#include <QString>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "support/marked_text.h"

class QMenuBar;

namespace lumacet {

// The translated caption of the command of that identifier; the identifier itself when the
// table has no such command, so that a slip shows in the menu instead of an empty entry.
QString CommandCaption(std::string_view id);

// The desktop's keys for `key` with `usual` among them: the platform theme may bind the
// standard key differently or not at all (no theme binds "Save As" on every desktop).
QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const QKeySequence& usual);

// The freedesktop icon name of the command `id`, empty when it has none. Standard names come
// from the desktop's theme first; the program's own theme, shipped in its resources, has
// every name for desktops (or bare X servers) whose theme lacks it.
std::string_view CommandIconName(std::string_view id);
// The icon of that freedesktop name, from the desktop's theme or else the program's own.
QIcon ThemeIcon(std::string_view name);

class TCommandTable {
 public:
  // The menu of that identifier ("file"), appended to `bar`.
  QMenu* AddMenu(QMenuBar& bar, std::string_view id);
  // Appends the command `id` to `container` (a menu or a tool bar), running `handler` on
  // `receiver` when chosen. Without a handler the command shows disabled: its tool is not
  // part of the program yet, or its caller connects and enables it.
  template <class TReceiver>
  QAction* Add(QWidget& container, std::string_view id, TReceiver* receiver, void (TReceiver::*handler)()) {
    QAction* action = Make(container, id);
    if (handler != nullptr) {
      QObject::connect(action, &QAction::triggered, receiver, handler);
    } else {
      action->setEnabled(false);
    }
    return action;
  }
  // Gives every disabled command the reason `why` finds for it as status and tool tip
  // (the engine's "not part of this version" when it finds none), and clears the reason of
  // every enabled one. Call after the states change.
  void ExplainDisabled(const std::function<TText(std::string_view id)>& why);
  // The command of that identifier; null when there is none.
  QAction* Find(std::string_view id) const;
  bool Empty() const { return fCommands.empty(); }

 private:
  QAction* Make(QWidget& container, std::string_view id);

  std::map<std::string, QAction*, std::less<>> fCommands;
};

}  // namespace lumacet
