#include "core/data_folder.h"


namespace qmp::data {
namespace fs = std::filesystem;
namespace {

fs::path& start() {
    static fs::path folder = ".";
    return folder;
}

int countHeld(const fs::path& folder, const std::vector<std::string>& names) {
    int held = 0;
    std::error_code error;
    for (const std::string& name : names) held += fs::is_regular_file(folder / name, error) ? 1 : 0;
    return held;
}

}  // namespace

void setStartFolder(const fs::path& folder) { start() = folder; }
const fs::path& startFolder() { return start(); }

bool choose(const std::string& asked, const std::vector<std::string>& names, const std::vector<fs::path>& candidates,
            FolderChoice* choice, std::string* error) {
    std::error_code failure;
    const fs::path current = fs::current_path(failure);
    if (!asked.empty()) {
        if (!fs::is_directory(asked, failure)) {
            *error = "--data " + asked + ": no such folder";
            return false;
        }
        choice->folder = fs::absolute(asked, failure).lexically_normal();
        choice->moved = choice->folder != current;
        return true;
    }
    *choice = FolderChoice{current, false};
    if (countHeld(current, names) > 0) return true;
    const fs::path* some = nullptr;
    for (const fs::path& candidate : candidates) {
        const int held = countHeld(candidate, names);
        if (held == static_cast<int>(names.size())) {
            *choice = FolderChoice{candidate, true};
            return true;
        }
        if (held > 0 && some == nullptr) some = &candidate;
    }
    if (some != nullptr) *choice = FolderChoice{*some, true};
    return true;
}

std::vector<fs::path> standardCandidates(const std::string& fromBin, const std::string& installed) {
    std::vector<fs::path> folders;
    std::error_code error;
    const fs::path executable = fs::read_symlink("/proc/self/exe", error);
    auto add = [&](const fs::path& folder) {
        const fs::path normal = folder.lexically_normal();
        for (const fs::path& known : folders)
            if (known == normal) return;
        folders.push_back(normal);
    };
    if (!error) {
        add(executable.parent_path());
        if (!fromBin.empty()) add(executable.parent_path() / fromBin);
    }
    if (!installed.empty()) add(installed);
    return folders;
}

}  // namespace qmp::data
