#include "shell/commands.h"

#include <algorithm>

namespace lumacet {

namespace {

constexpr TMenu kMenus[] = {
    {"file", LcText("FileMenu", "&File")},          {"type", LcText("TypeMenu", "&Type")},
    {"tracing", LcText("TracingMenu", "T&racing")}, {"image", LcText("ImageMenu", "&Image")},
    {"view", LcText("ViewMenu", "&View")},          {"tools", LcText("ToolsMenu", "T&ools")},
    {"help", LcText("HelpMenu", "&Help")},
};

// Released identifiers stay as they are: add new ones, never rename.
constexpr TCommand kCommands[] = {
    {"file.new", LcText("FileMenu", "&New...")},
    {"file.open", LcText("FileMenu", "&Open...")},
    {"file.new_type", LcText("FileMenu", "New &Type...")},
    {"file.open_type", LcText("FileMenu", "Open T&ype...")},
    {"file.recent", LcText("FileMenu", "Recent &Files")},
    {"file.save", LcText("FileMenu", "&Save")},
    {"file.save_into", LcText("FileMenu", "Save &Into...")},
    {"file.save_all", LcText("FileMenu", "Save &All")},
    {"file.close", LcText("FileMenu", "&Close")},
    {"file.close_all", LcText("FileMenu", "C&lose All")},
    {"file.duplicate", LcText("FileMenu", "&Duplicate...")},
    {"file.properties", LcText("FileMenu", "P&roperties...")},
    {"file.send_spreadsheet", LcText("FileMenu", "&Spreadsheet")},
    {"file.send_text_document", LcText("FileMenu", "&Text Document")},
    {"file.send_presentation", LcText("FileMenu", "&Presentation")},
    {"file.options", LcText("FileMenu", "&Options...")},
    {"file.save_settings", LcText("FileMenu", "Save Settings")},
    {"file.reset_reminders", LcText("FileMenu", "Reset Reminders")},
    {"file.exit", LcText("FileMenu", "E&xit")},

    {"type.browser", LcText("TypeMenu", "&Type Browser...")},
    {"type.digitized_points", LcText("TypeMenu", "Digitized Points...")},
    {"type.snakes", LcText("TypeMenu", "Snakes...")},
    {"type.derived_points", LcText("TypeMenu", "Derived Points...")},
    {"type.areas", LcText("TypeMenu", "Areas...")},
    {"type.drawings", LcText("TypeMenu", "Drawings...")},
    {"type.variables", LcText("TypeMenu", "Variables...")},
    {"type.analyses", LcText("TypeMenu", "Analyses...")},
    {"type.superimpositions", LcText("TypeMenu", "Superimpositions...")},
    {"type.orientations", LcText("TypeMenu", "Orientations...")},
    {"type.protocols", LcText("TypeMenu", "Protocols...")},
    {"type.vto_relationships", LcText("TypeMenu", "VTO &Relationships")},
    {"type.views", LcText("TypeMenu", "Views...")},
    {"type.shape_analyses", LcText("TypeMenu", "Shape Analyses...")},

    {"tracing.get_coordinates", LcText("TracingMenu", "&Get Coordinates from...")},
    {"tracing.digitize", LcText("TracingMenu", "Digiti&ze...")},
    {"tracing.set_reference", LcText("TracingMenu", "Set as Re&ference")},
    {"tracing.set_morph_source", LcText("TracingMenu", "Set as Morph So&urce")},
    {"tracing.sort", LcText("TracingMenu", "S&ort")},
    // Undo and Redo name the movement they would take back or do again.
    {"tracing.undo", LcText("TracingMenu", "&Undo..."), true},
    {"tracing.redo", LcText("TracingMenu", "&Redo..."), true},
    {"tracing.move", LcText("TracingMenu", "&Move...")},
    {"tracing.flip_vertical", LcText("TracingMenu", "Flip &Vertical")},
    {"tracing.flip_horizontal", LcText("TracingMenu", "Flip &Horizontal")},
    {"tracing.scale", LcText("TracingMenu", "S&cale...")},
    {"tracing.select_all", LcText("TracingMenu", "Select A&ll")},
    {"tracing.superimpose", LcText("TracingMenu", "&Superimpose on Current")},
    {"tracing.orientate", LcText("TracingMenu", "&Orientate")},
    {"tracing.orientate_choose", LcText("TracingMenu", "&Orientate...")},
    {"tracing.auto_orientate", LcText("TracingMenu", "A&uto Orientate on Loading")},
    {"tracing.snap", LcText("TracingMenu", "&Snap Movements")},
    {"tracing.auto_vto", LcText("TracingMenu", "&Auto VTO")},
    {"tracing.connected", LcText("TracingMenu", "Movement: Co&nnected")},
    {"tracing.compile", LcText("TracingMenu", "Movement: &Compile")},
    {"tracing.original_area", LcText("TracingMenu", "&Original Area")},
    {"tracing.current_area", LcText("TracingMenu", "&Current Area")},
    // Image morphing: the run, its live preview and its settings, which the Morph button's
    // drop-down offers too.
    {"tracing.morph", LcText("TracingMenu", "&Morph")},
    {"tracing.interactive_morph", LcText("TracingMenu", "&Interactive Morph")},
    {"tracing.morph_options", LcText("TracingMenu", "Morph &Options...")},
    {"tracing.warp_linear", LcText("TracingMenu", "Linear")},
    {"tracing.warp_s_curve", LcText("TracingMenu", "S-curve")},
    {"tracing.warp_exponential", LcText("TracingMenu", "Exponential")},
    {"tracing.warp_triangles", LcText("TracingMenu", "Triangle interpolation")},
    {"tracing.morph_low", LcText("TracingMenu", "&Low but Fast")},
    {"tracing.morph_medium", LcText("TracingMenu", "&Medium")},
    {"tracing.morph_high", LcText("TracingMenu", "&High but Slow")},

    {"image.open", LcText("ImageMenu", "&Open...")},
    {"image.save", LcText("ImageMenu", "&Save...")},
    {"image.close", LcText("ImageMenu", "&Close")},
    {"image.undo", LcText("ImageMenu", "U&ndo / Redo Image")},
    {"image.reset", LcText("ImageMenu", "Rese&t Image")},
    {"image.visible", LcText("ImageMenu", "&Visible")},
    {"image.copy", LcText("ImageMenu", "Copy to Clip&board")},
    {"image.position", LcText("ImageMenu", "&Position / Rotation...")},
    {"image.rotate_arbitrary", LcText("ImageMenu", "Rotate &Arbitrary...")},
    {"image.rotate_left", LcText("ImageMenu", "&Left 90 degrees")},
    {"image.rotate_right", LcText("ImageMenu", "&Right 90 degrees")},
    {"image.rotate_half", LcText("ImageMenu", "180 &degrees")},
    {"image.flip_horizontal", LcText("ImageMenu", "Flip &Horizontal")},
    {"image.flip_vertical", LcText("ImageMenu", "Flip &Vertical")},
    {"image.resize", LcText("ImageMenu", "Resi&ze...")},
    {"image.align", LcText("ImageMenu", "A&lign Tracing...")},
    {"image.tracing_locked", LcText("ImageMenu", "Tracing &Locked")},
    {"image.acquire", LcText("ImageMenu", "&Acquire...")},
    {"image.select_source", LcText("ImageMenu", "&Select Source...")},
    {"image.equalize", LcText("ImageMenu", "&Equalize")},
    {"image.adaptive_equalize", LcText("ImageMenu", "&Adaptive Equalize")},
    {"image.auto_levels", LcText("ImageMenu", "Auto &Levels")},
    {"image.adaptive_auto_levels", LcText("ImageMenu", "A&daptive Auto Levels")},
    {"image.negative", LcText("ImageMenu", "&Negative Image")},
    {"image.levels", LcText("ImageMenu", "Le&vels...")},
    {"image.brightness_contrast", LcText("ImageMenu", "&Brightness / Contrast / Gamma...")},
    {"image.colorize", LcText("ImageMenu", "Colori&ze...")},
    // The image blending tool bar's own commands.
    {"image.adjust_again", LcText("ImageMenu", "Image Adjust")},
    {"image.blend_difference", LcText("ImageMenu", "Blend Normal/Difference")},

    {"view.zoom_in", LcText("ViewMenu", "&Zoom In")},
    {"view.zoom_out", LcText("ViewMenu", "Zoom &Out")},
    {"view.best_fit", LcText("ViewMenu", "&Best Fit")},
    {"view.fit_all", LcText("ViewMenu", "&Fit All")},
    {"view.grid", LcText("ViewMenu", "&Grid")},
    {"view.analysis", LcText("ViewMenu", "&Analysis")},
    {"view.current_only", LcText("ViewMenu", "Current Only")},
    {"view.comparative", LcText("ViewMenu", "Comparative")},
    {"view.all", LcText("ViewMenu", "All")},
    {"view.detailed_analysis", LcText("ViewMenu", "&Detailed Analysis...")},
    {"view.copy_results", LcText("ViewMenu", "Copy Resul&ts")},
    {"view.save_results", LcText("ViewMenu", "Save Res&ults...")},
    {"view.movements", LcText("ViewMenu", "&Movement")},

    {"tools.none", LcText("ToolsMenu", "None")},
    {"tools.select_move", LcText("ToolsMenu", "Select / Move")},
    {"tools.zoom", LcText("ToolsMenu", "Zoom")},
    {"tools.translate", LcText("ToolsMenu", "Translate")},
    {"tools.rotate", LcText("ToolsMenu", "Rotate")},
    {"tools.rotation_center", LcText("ToolsMenu", "Rotation Center")},
    {"tools.ruler", LcText("ToolsMenu", "Ruler")},
    {"tools.protractor", LcText("ToolsMenu", "Protractor")},
    {"tools.digitizer", LcText("ToolsMenu", "Digitizer")},
    {"tools.image_translate", LcText("ToolsMenu", "Image Translate")},
    {"tools.magnification", LcText("ToolsMenu", "Magnification")},
    {"tools.page_translate", LcText("ToolsMenu", "Page Translate")},
    // The Translate tool's drop-down.
    {"tools.no_constraint", LcText("ToolsMenu", "&No constraint")},
    {"tools.constrain_x", LcText("ToolsMenu", "Constrain along &X-axis")},
    {"tools.constrain_y", LcText("ToolsMenu", "Constrain along &Y-axis")},
    // The digitize tool's edge lock and what it shows.
    {"tools.edge_auto", LcText("ToolsMenu", "&Auto Edge Lock")},
    {"tools.edge_orient", LcText("ToolsMenu", "&Orientation Cursor")},
    {"tools.edge_none", LcText("ToolsMenu", "&None")},
    {"tools.digitized_dots", LcText("ToolsMenu", "&Digitized Dots")},
    {"tools.snake_icons", LcText("ToolsMenu", "&Snake Icons")},
    {"tools.procrustes", LcText("ToolsMenu", "&Procrustes and PCA...")},
    {"tools.pcas", LcText("ToolsMenu", "Principal &Component Anal. (PCAs)")},
    {"tools.pca_viewer", LcText("ToolsMenu", "PCA &Viewer...")},
    {"tools.mean", LcText("ToolsMenu", "&Mean...")},
    {"tools.sort_by_shape", LcText("ToolsMenu", "Sort by &Shape...")},
    {"tools.export", LcText("ToolsMenu", "&Export...")},
    {"tools.convert_type", LcText("ToolsMenu", "&Convert Type...")},

    {"help.contents", LcText("HelpMenu", "&Contents")},
    {"help.about", LcText("HelpMenu", "&About...")},
};

template <class TEntry>
const TEntry* FindById(std::span<const TEntry> entries, std::string_view id) {
  const auto found = std::find_if(entries.begin(), entries.end(), [id](const TEntry& entry) { return entry.Id == id; });
  return found == entries.end() ? nullptr : &*found;
}

}  // namespace

std::span<const TMenu> Menus() { return kMenus; }

std::span<const TCommand> Commands() { return kCommands; }

const TMenu* FindMenu(std::string_view id) { return FindById(Menus(), id); }

const TCommand* FindCommand(std::string_view id) { return FindById(Commands(), id); }

}  // namespace lumacet
