#pragma once
// The order in which a file manager shows a folder's files.

#include <string>
#include <vector>

namespace lumivox {

// Sorts paths by their titles in the user's locale collation, ignoring case and comparing
// digit runs by value ("track2" before "track10", "Été" beside "Ete"). Titles that
// collate equal keep a fixed order: their bytes decide.
void SortInFolderOrder(std::vector<std::string>& paths);

}  // namespace lumivox
