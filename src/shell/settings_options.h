// The engine's option records as the user's settings fill them: what the display, the
// labels, the analysis text and the measuring tools are drawn with.
#pragma once

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
// What the workspace takes from the settings: folders, data file options, formats, images.
TWorkspaceOptions WorkspaceOptions(const TSettings& settings);
// The image settings: folders, default pixel size, the DICOM window choice.
TImageLoadSettings ImageLoadSettings(const TSettings& settings);

// The label font of the settings, sized in points at life size.
TFont LabelFont(const TViewSettings& view);
TRulerLook RulerLook(const TViewSettings& view);

}  // namespace lumacet
