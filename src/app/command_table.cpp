#include "app/command_table.h"

namespace lumacet {

QAction* TCommandTable::Find(const QString& caption) const {
  auto found = fCommands.find(caption);
  return found == fCommands.end() ? nullptr : found->second;
}

}  // namespace lumacet
