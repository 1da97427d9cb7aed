#pragma once
// The folders whose changes can change the catalogue, so that it follows the desktop.
#include "catalogue/build.h"
#include "platform/background.h"

#include <vector>

namespace tov {

// What a catalogue built from `sources` reads: the Programs folders and the favourites
// (whole trees), the custom command list, and the folders that hold the browsers' bookmark
// files. Each folder comes with the test of which changed entries matter, which the folder
// watch asks on its own thread: noise such as a browser's cache is turned away there. Reads
// the folders of the Chromium browsers, so it runs with the build.
std::vector<FolderWatchRequest> CatalogueWatchList(const CatalogueSources& sources);

// Whether two lists watch the same folders in the same way.
bool SameFolders(const std::vector<FolderWatchRequest>& a, const std::vector<FolderWatchRequest>& b);

} // namespace tov
