#include "sky/user_files.h"

#include <algorithm>
#include <cctype>
#include <filesystem>

#include "host/file_read.h"

namespace sky {

bool ReadUserFile(const std::string& path, size_t limit, std::string* text, std::string* error) {
    const host::FileRead read = host::ReadFileAtMost(path, limit, text, true);
    if (read.result == host::FileRead::Result::kRead) return true;
    *error = path + ": " + host::FileReadProblem(read, limit);
    return false;
}

std::vector<std::string> FilesEndingIn(const std::string& dir, const std::string& suffix) {
    std::vector<std::string> names;
    std::error_code ec;
    for (std::filesystem::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        if (!it->is_regular_file(ec)) continue;
        const std::string name = it->path().filename().string();
        if (name.size() <= suffix.size()) continue;
        const bool matches =
            std::equal(suffix.rbegin(), suffix.rend(), name.rbegin(), [](char a, char b) {
                return std::tolower(static_cast<unsigned char>(a)) ==
                       std::tolower(static_cast<unsigned char>(b));
            });
        if (matches) names.push_back(name);
    }
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace sky
