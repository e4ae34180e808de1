#include "app/command_table.h"

#include <QMenuBar>

#include "app/qt_prompts.h"
#include "shell/command_reasons.h"
#include "shell/commands.h"

namespace lumacet {

namespace {

QString Id(std::string_view id) { return QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size())); }

}  // namespace

QString CommandCaption(std::string_view id) {
  const TCommand* command = FindCommand(id);
  return command == nullptr ? Id(id) : DisplayText(TText(command->Caption));
}

QMenu* TCommandTable::AddMenu(QMenuBar& bar, std::string_view id) {
  const TMenu* found = FindMenu(id);
  QMenu* menu = bar.addMenu(found == nullptr ? Id(id) : DisplayText(TText(found->Caption)));
  menu->setObjectName(Id(id));
  return menu;
}

QAction* TCommandTable::Make(QWidget& container, std::string_view id) {
  auto* action = new QAction(CommandCaption(id), &container);
  action->setObjectName(Id(id));
  container.addAction(action);
  fCommands[std::string(id)] = action;
  return action;
}

void TCommandTable::ExplainDisabled(const std::function<TText(std::string_view id)>& why) {
  for (const auto& [id, action] : fCommands) {
    QString reason;
    if (!action->isEnabled()) {
      const TText found = why(id);
      reason = DisplayText(found.Empty() ? NotOfferedYet() : found);
    }
    // Unchanged tips are left alone: every change repaints the menus and tool bars.
    if (action->statusTip() == reason) continue;
    action->setStatusTip(reason);
    action->setToolTip(reason.isEmpty() ? QString() : action->iconText() + QStringLiteral(": ") + reason);
  }
}

QAction* TCommandTable::Find(std::string_view id) const {
  auto found = fCommands.find(id);
  return found == fCommands.end() ? nullptr : found->second;
}

}  // namespace lumacet
