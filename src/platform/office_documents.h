// The documents "Send To" hands to the desktop's office programs: a text document (.odt)
// and a presentation (.odp) holding the tracing picture, and the opener that shows them.
#pragma once

#include <functional>
#include <string>
#include <vector>

#include "platform/qpainter_canvas.h"

namespace lumacet {

// Opens a written document with the desktop's default application; false when no
// application could be started. Tests put their own in its place.
using TDocumentOpener = std::function<bool(const std::string& path)>;
bool OpenWithDesktop(const std::string& path);

// A text document of one paragraph per text, tabs kept, written whole or not at all.
TWriteResult WriteTextDocument(const std::string& path, const std::vector<std::string>& paragraphs);

// A presentation of one slide holding the picture `paint` draws (`size` in tracing units,
// as for WriteSvgPicture) as an SVG image, fitted into 85 % of the slide and centred.
TWriteResult WritePresentation(const std::string& path, TIntSize size, const std::string& title,
                               const TPaintRoutine& paint);

}  // namespace lumacet
