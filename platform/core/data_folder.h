// Where the program finds its picture files. It reads them from the current
// folder; the launcher picks that folder before the program starts: the
// current one when it holds them, else the one beside the executable, else the
// installed data folder, or the one named by --data.
#pragma once

#include <filesystem>
#include <string>
#include <vector>

namespace qmp::data {

// The folder the user started the program in, before the launcher moved to
// the pictures: screenshots and recordings with a bare name go there.
void setStartFolder(const std::filesystem::path& folder);
const std::filesystem::path& startFolder();

struct FolderChoice {
    std::filesystem::path folder;  // where the program is to run
    bool moved = false;            // not the current folder
};

// `asked` (--data) when given, which must be a folder; else the current folder
// when it holds any of `names`; else the first of `candidates` that holds them
// all, or failing that the first that holds any; else the current folder,
// where start-up will say which file is missing. False with `error` for a bad
// --data.
bool choose(const std::string& asked, const std::vector<std::string>& names,
            const std::vector<std::filesystem::path>& candidates, FolderChoice* choice, std::string* error);

// The folder of the running executable, and the installed data folder: `fromBin`
// relative to it (so an installed tree can move), then `installed` as configured.
std::vector<std::filesystem::path> standardCandidates(const std::string& fromBin, const std::string& installed);

}  // namespace qmp::data
