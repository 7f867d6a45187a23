#include "game/modScenarioFolder.h"

#include <utility>

#include "core/GameFolderLayout.h"
#include "core/modFileOperation.h"
#include "game/ScenarioCatalogue.h"
#include "platform/AnsiText.h"
#include "platform/FolderListing.h"

std::vector<std::string> ListScenarioRows(const std::string& gamePath) {
  std::vector<std::string> folders = {gamePath + std::string(kScenarioFolder)};
  std::string copy = PerUserCopyOf(gamePath, folders.front());
  if (!copy.empty()) folders.push_back(std::move(copy));

  std::vector<std::string> fileNames;
  ListFolderFiles(folders, ".scn", fileNames);
  return BuildScenarioRows(std::move(fileNames), AnsiCodePage());
}
