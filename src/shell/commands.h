// Every command of the desktop program under a stable identifier, "menu.command" in lower
// case ("file.save", "image.undo"). Menus, tool bars and tests find commands by it, and so
// will the automation service and the user levels: an identifier is never translated and
// never changed once released. Captions are marked texts under their menu's context, so
// that a translator sees each menu's commands together and can keep its accelerators apart.
#pragma once

#include <span>
#include <string_view>

#include "support/marked_text.h"

namespace lumacet {

// A menu of the menu bar: the first part of its commands' identifiers.
struct TMenu {
  std::string_view Id;  // "file"
  TTextSource Caption;  // "&File"
};

struct TCommand {
  std::string_view Id;  // "file.save"
  TTextSource Caption;  // "&Save", as the menu shows it
  // The menu shows a caption of the moment instead ("&Undo: <movement>", "Can't Undo");
  // the table's caption names the command in lists of commands.
  bool CaptionFollowsState = false;
};

// The menus in the order of the menu bar.
std::span<const TMenu> Menus();
// Every command, menu by menu in the order the menus show them.
std::span<const TCommand> Commands();

// The menu or command of that identifier; null when there is none.
const TMenu* FindMenu(std::string_view id);
const TCommand* FindCommand(std::string_view id);

}  // namespace lumacet
