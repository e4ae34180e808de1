// Why a command of the desktop program cannot be chosen now, for its status tip: a user
// meeting a greyed entry learns what to do first instead of guessing.
#pragma once

#include <string_view>

#include "support/marked_text.h"

namespace lumacet {

class TWorkspace;

// The first condition the workspace's state fails for the command `id` ("file.save"); the
// empty text when its state allows it, so a command still disabled is one the program does
// not offer yet (`NotOfferedYet`).
TText WhyDisabled(std::string_view id, const TWorkspace& workspace);

// The commands of the type editors: they edit a type opened for editing, since changes to
// the type of a radiograph could not be saved.
inline constexpr const char* kTypeEditorCommands[] = {
    "tools.pcas",     "type.shape_analyses", "type.digitized_points", "type.snakes",        "type.derived_points",
    "type.areas",     "type.drawings",       "type.variables",        "type.analyses",      "type.superimpositions",
    "type.orientations", "type.protocols",   "type.views",            "type.vto_relationships"};
bool EditsOpenType(std::string_view id);

// The status tip of a command that is part of the menus but not yet of the program.
TText NotOfferedYet();

}  // namespace lumacet
