// The engine's option records as the user's settings fill them: what the display, the
// labels, the analysis text and the measuring tools are drawn with.
#pragma once

#include <optional>
#include <string>

#include "graphics/extended_report.h"
#include "graphics/labels.h"
#include "graphics/measuring_tools.h"
#include "graphics/tracing_painter.h"
#include "imaging/image_commands.h"
#include "measure/analysis_text.h"
#include "shell/measuring.h"
#include "shell/settings.h"
#include "shell/workspace.h"

namespace lumacet {

// The settings' values, measuring through the run's one `measuring`.
TPresentationOptions PresentationOptions(const TSettings& settings, TMeasuring& measuring);
TLabelOptions LabelOptions(const TSettings& settings, TMeasuring& measuring);
TDisplayOptions DisplayOptions(const TSettings& settings, TMeasuring& measuring);
// The extended report of the radiographs (the first is the current one) in the settings'
// layout, their images under the tracings when `images` is set.
TExtendedReport ExtendedReport(const TSettings& settings, TMeasuring& measuring, std::vector<TRadiograph*> radiographs,
                               bool images);
// What the workspace takes from the settings: folders, data file options, formats, images.
TWorkspaceOptions WorkspaceOptions(const TSettings& settings);
// The image settings: folders, default pixel size, the DICOM window choice.
TImageLoadSettings ImageLoadSettings(const TSettings& settings);

// The label font of the settings, sized in points at life size.
TFont LabelFont(const TViewSettings& view);
TRulerLook RulerLook(const TViewSettings& view);

// "Lumacet Rect": the main window's place as "left top width height". Nothing for "Default"
// and for anything else that is not four whole numbers with a width and a height of at
// least 200, so a damaged value gives the default window instead of an unusable one.
std::optional<TIntRect> MainWindowRect(const std::string& text);
std::string MainWindowRectText(const TIntRect& rect);

}  // namespace lumacet
