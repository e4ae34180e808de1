// How a radiograph's image link relates to a file: the folder rules for finding the file,
// the form the link is stored in, and the texts shown when the file is missing. Links
// written on Windows ("\sub\a.jpg", "E:\old\a.jpg") are understood: both separators count,
// and a name that matches only in letter case is found.
#pragma once

#include <string>

#include "support/marked_text.h"

namespace lumacet {

struct TImageSearch {
  std::string Name;         // the bare file name; empty when the link names no file
  std::string Folder;       // the link's own folder as given; empty when it had none
  std::string Path;         // the file found; empty when none was
  std::string TriedPath;    // the last path tried
};

// Looks for the image of a link: a folder beginning with a backslash lies below
// `defaultFolder`; a file missing at its own path, or a bare name, is looked for in
// `defaultFolder`.
TImageSearch FindImageFile(const std::string& link, const std::string& defaultFolder);

// "Tried to load image file: ..." followed by "Do you want to search for the file
// yourself?", for a search that found nothing.
TText MissingImageQuestion(const TImageSearch& search, const std::string& defaultFolder);
// "Could not find image file: ..." naming the last path tried.
TText ImageNotFoundMessage(const std::string& path);
// "Do you want this folder: ... to be the default image folder?"
TText DefaultFolderQuestion(const std::string& folder);

// The stored form of a radiograph's image path: the bare name for a file in the default
// image folder, "\" and a relative path for one below it, the full path otherwise.
std::string RadiographImageLink(const std::string& path, const std::string& defaultFolder);
// A type's: the bare name in the default image or type folder, else the full path.
std::string TypeImageLink(const std::string& path, const std::string& defaultFolder, const std::string& typeFolder);
// The path a stored link stands for: a bare name or a "\"-relative path is completed with
// the default image folder; anything else stands as it is.
std::string ImagePathFromLink(const std::string& link, const std::string& defaultFolder);

}  // namespace lumacet
