#include "shell/help_pages.h"

#include <algorithm>
#include <array>
#include <string>
#include <system_error>

namespace lumacet {

namespace {

bool IsPage(const std::filesystem::path& page) {
  std::error_code error;
  return std::filesystem::is_regular_file(page, error);
}

constexpr std::array kTopics = {
    THelpTopic{"TOpenXRayDlg", "record-browser", ""},
    THelpTopic{"TNewXRayDlg", "radiograph-dialogs", "new"},
    THelpTopic{"radiographProperties", "radiograph-dialogs", "properties"},
    THelpTopic{"TTypePropertiesDlg", "radiograph-dialogs", "type-properties"},
    THelpTopic{"TDigitizeWindow", "digitize-window", ""},
    THelpTopic{"TDigitizingInputDlg", "digitize-window", "input"},
    THelpTopic{"TAnalysisWindow", "analysis-window", ""},
    THelpTopic{"TMovementForm", "movement-window", ""},
    THelpTopic{"TMoveDetailedForm", "movement-window", "move"},
    THelpTopic{"TScaleDlg", "movement-window", "scale"},
    THelpTopic{"TJpegOptionsDlg", "image-dialogs", "jpeg"},
    THelpTopic{"TDicomFrameDlg", "image-dialogs", "dicom-frame"},
    THelpTopic{"THistoAdjDlg", "image-dialogs", "levels"},
    THelpTopic{"TConBrightAdjDlg", "image-dialogs", "brightness"},
    THelpTopic{"TColorizeDlg", "image-dialogs", "colorize"},
    THelpTopic{"TUpdataDICMDlg", "image-dialogs", "dicom-update"},
    THelpTopic{"TAcquireDialog", "acquire", ""},
    THelpTopic{"TImagePositionDlg", "image-geometry", "position"},
    THelpTopic{"TImageRotationDlg", "image-geometry", "rotate"},
    THelpTopic{"TImageScaleDlg", "image-geometry", "resize"},
    THelpTopic{"TAlignTracingDlg", "image-geometry", "align"},
    THelpTopic{"TMagnificationDlg", "magnification", ""},
    THelpTopic{"TLCOptions", "options", ""},
    THelpTopic{"optionsView", "options", "view"},
    THelpTopic{"optionsRadiograph", "options", "radiograph"},
    THelpTopic{"optionsGeneral", "options", "general"},
    THelpTopic{"optionsImage", "options", "image"},
    THelpTopic{"optionsResults", "options", "results"},
    THelpTopic{"optionsStyles", "options", "styles"},
    THelpTopic{"optionsInput", "options", "input"},
    THelpTopic{"optionsMorph", "options", "morph"},
    THelpTopic{"TMorphingDlg", "movements", "morph"},
    THelpTopic{"TMorphInteractive", "movements", "interactive-morph"},
    THelpTopic{"TDigitizerProperties", "patients", "tablets"},
    THelpTopic{"TTypeBrowserForm", "type-browser", ""},
    THelpTopic{"TDigPointsForm", "type-editors", "digitized-points"},
    THelpTopic{"TSnakesForm", "type-editors", "snakes"},
    THelpTopic{"TDerPointsForm", "type-editors", "derived-points"},
    THelpTopic{"TAreasForm", "type-editors", "areas"},
    THelpTopic{"TDrawingsForm", "type-editors", "drawings"},
    THelpTopic{"TVariablesForm", "type-editors", "variables"},
    THelpTopic{"TAnalysesForm", "type-editors", "analyses"},
    THelpTopic{"TSupimpsForm", "type-editors", "superimpositions"},
    THelpTopic{"TOrientsForm", "type-editors", "orientations"},
    THelpTopic{"TProtocolsForm", "type-editors", "protocols"},
    THelpTopic{"TViewsForm", "type-editors", "views"},
    THelpTopic{"TPCAsForm", "type-editors", "shape-analyses"},
    THelpTopic{"TArrangeForm", "type-editors", "rearrange"},
    THelpTopic{"THardSoftForm", "vto-relationships", ""},
    THelpTopic{"TProcForm", "procrustes", ""},
    THelpTopic{"TPCAViewForm", "pca-viewer", ""},
    THelpTopic{"TMeanForm", "mean-and-shape-sort", "mean"},
    THelpTopic{"TShapeForm", "mean-and-shape-sort", "shape-sort"},
    THelpTopic{"TExportForm", "export", ""},
    THelpTopic{"TConvertTypeForm", "convert-type", ""},
};

}  // namespace

std::span<const THelpTopic> HelpTopics() { return kTopics; }

const THelpTopic* FindHelpTopic(std::string_view key) {
  const auto found = std::ranges::find(kTopics, key, &THelpTopic::Key);
  return found == kTopics.end() ? nullptr : &*found;
}

std::vector<std::filesystem::path> HelpFolders(const std::filesystem::path& programFolder) {
  return {programFolder / "help", programFolder.parent_path() / "share" / "lumacet" / "help"};
}

std::filesystem::path HelpPage(const std::filesystem::path& programFolder, std::string_view topic) {
  const std::string file = std::string(topic.empty() ? "index" : topic) + ".html";
  for (const std::filesystem::path& folder : HelpFolders(programFolder)) {
    if (!IsPage(folder / "index.html")) continue;
    return IsPage(folder / file) ? folder / file : folder / "index.html";
  }
  return {};
}

TText HelpMissing(const std::filesystem::path& programFolder) {
  std::string folders;
  for (const std::filesystem::path& folder : HelpFolders(programFolder))
    folders += "\n" + folder.lexically_normal().string();
  return TText(LcText("Help", "The help pages are not installed. They were looked for in:%1"), {folders});
}

}  // namespace lumacet
