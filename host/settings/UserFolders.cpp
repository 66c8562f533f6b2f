#include "settings/UserFolders.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace tessera::settings {
namespace {

bool IsFolder(const std::string& path) {
    struct stat st {};
    return !path.empty() && ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::optional<std::string> Environment(const char* name) {
    const char* value = std::getenv(name);
    if (value && *value) return std::string(value);
    return std::nullopt;
}

// The shell's double-quoted word as xdg-user-dirs writes it: backslash escapes
// the next character; "$HOME" at the start stands for the home folder.
std::optional<std::string> ShellValue(const std::string& quoted, const std::string& home) {
    if (quoted.size() < 2 || quoted.front() != '"' || quoted.back() != '"') return std::nullopt;
    std::string value;
    for (std::size_t i = 1; i + 1 < quoted.size(); ++i) {
        if (quoted[i] == '\\' && i + 2 < quoted.size()) ++i;
        value += quoted[i];
    }
    if (value.rfind("$HOME", 0) == 0) value = home + value.substr(5);
    return value;
}

}  // namespace

std::optional<std::string> HomeFolder() {
    if (auto home = Environment("HOME")) return home;
    // A service started without HOME still belongs to a user with a home.
    const passwd* entry = ::getpwuid(::getuid());
    if (entry && entry->pw_dir && *entry->pw_dir == '/') return std::string(entry->pw_dir);
    return std::nullopt;
}

std::optional<std::string> ConfigFolder() {
    if (auto config = Environment("XDG_CONFIG_HOME"); config && config->front() == '/') return config;
    if (auto home = HomeFolder()) return *home + "/.config";
    return std::nullopt;
}

std::optional<std::string> DocumentsDirOf(const std::string& userDirs, const std::string& home) {
    std::optional<std::string> found;
    std::istringstream in(userDirs);
    const std::string key = "XDG_DOCUMENTS_DIR=";
    for (std::string line; std::getline(in, line);)
        if (line.rfind(key, 0) == 0)
            if (auto value = ShellValue(line.substr(key.size()), home)) found = value;  // the last one counts
    return found;
}

std::optional<std::string> DocumentsFolder() {
    std::optional<std::string> home = HomeFolder();
    std::optional<std::string> documents = Environment("XDG_DOCUMENTS_DIR");
    if (const auto config = ConfigFolder()) {
        std::ifstream file(*config + "/user-dirs.dirs");
        std::ostringstream text;
        text << file.rdbuf();
        if (auto fromFile = DocumentsDirOf(text.str(), home.value_or(""))) documents = fromFile;
    }
    if (documents && IsFolder(*documents)) return documents;
    if (home && IsFolder(*home + "/Documents")) return *home + "/Documents";
    return home;
}

}  // namespace tessera::settings
