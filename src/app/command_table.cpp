#include "app/command_table.h"

#include <QIcon>
#include <QMenuBar>

#include <array>

#include "app/qt_prompts.h"
#include "shell/command_reasons.h"
#include "shell/commands.h"

namespace lumacet {

namespace {

QString Id(std::string_view id) { return QString::fromUtf8(id.data(), static_cast<qsizetype>(id.size())); }

// Commands whose icon speaks for itself keep only the icon when the style puts text beside
// icons, so that each tool bar row still fits a 1024 pixel wide window.
struct TCommandIcon {
  std::string_view Command;
  std::string_view Icon;
  bool IconAlone;
};

constexpr std::array<TCommandIcon, 25> kCommandIcons{{
    {"file.open", "document-open", false},
    {"file.save", "document-save", false},
    {"file.close", "window-close", false},
    {"view.zoom_in", "zoom-in", true},
    {"view.zoom_out", "zoom-out", true},
    {"view.best_fit", "zoom-fit-best", true},
    {"view.fit_all", "lumacet-fit-all", true},
    {"view.detailed_analysis", "lumacet-analysis", false},
    {"tracing.superimpose", "lumacet-superimpose", false},
    {"tracing.auto_vto", "lumacet-auto-vto", false},
    {"tracing.morph", "lumacet-morph", false},
    {"image.adjust_again", "view-refresh", true},
    {"image.blend_difference", "lumacet-blend-difference", true},
    {"tools.none", "lumacet-tool-none", true},
    {"tools.select_move", "lumacet-select-move", false},
    {"tools.zoom", "lumacet-tool-zoom", true},
    {"tools.translate", "lumacet-translate", true},
    {"tools.rotate", "object-rotate-right", true},
    {"tools.rotation_center", "lumacet-rotation-center", false},
    {"tools.ruler", "lumacet-ruler", true},
    {"tools.protractor", "lumacet-protractor", true},
    {"tools.digitizer", "lumacet-digitize", false},
    {"tools.image_translate", "lumacet-image-translate", false},
    {"tools.magnification", "lumacet-magnification", false},
    {"tools.page_translate", "lumacet-page-translate", false},
}};

const TCommandIcon* FindIcon(std::string_view id) {
  for (const TCommandIcon& icon : kCommandIcons)
    if (icon.Command == id) return &icon;
  return nullptr;
}

QIcon CommandIcon(std::string_view id) {
  const std::string_view name = CommandIconName(id);
  return name.empty() ? QIcon() : ThemeIcon(name);
}

}  // namespace

QIcon ThemeIcon(std::string_view name) {
  static const bool shippedThemeSet = [] {
    // Without a desktop theme the fallback theme is never asked, so ours becomes the theme.
    if (QIcon::themeName().isEmpty())
      QIcon::setThemeName(QStringLiteral("lumacet"));
    else
      QIcon::setFallbackThemeName(QStringLiteral("lumacet"));
    return true;
  }();
  (void)shippedThemeSet;
  return QIcon::fromTheme(Id(name));
}

QList<QKeySequence> StandardKeys(QKeySequence::StandardKey key, const QKeySequence& usual) {
  QList<QKeySequence> keys = QKeySequence::keyBindings(key);
  if (!keys.contains(usual)) keys.append(usual);
  return keys;
}

std::string_view CommandIconName(std::string_view id) {
  const TCommandIcon* icon = FindIcon(id);
  return icon == nullptr ? std::string_view() : icon->Icon;
}

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
  auto* action = new QAction(CommandIcon(id), CommandCaption(id), &container);
  if (const TCommandIcon* icon = FindIcon(id); icon != nullptr && icon->IconAlone)
    action->setPriority(QAction::LowPriority);
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
