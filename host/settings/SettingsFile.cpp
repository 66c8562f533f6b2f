#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <optional>
#include <sstream>

#include "host/HostError.h"
#include "os/RegularFile.h"
#include "settings/UserFolders.h"

namespace tessera::settings {
namespace {

// Far above what the settings of a few dialogs hold; a file larger than that
// (or a link to a device that never ends) reads as the defaults.
constexpr std::size_t kMostSettingsBytes = 1u << 20;

// One value per line: line breaks inside a text are written as \n and \r.
std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n' || c == '\r') {
            out += c == '\n' ? "\\n" : "\\r";
            continue;
        }
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

char Unescaped(char c) { return c == 'n' ? '\n' : c == 'r' ? '\r' : c; }

// Reads a quoted string at line[pos]; advances pos past it.
std::optional<std::string> Unquote(const std::string& line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        if (line[pos] == '\\' && pos + 1 < line.size()) {
            out += Unescaped(line[++pos]);
        } else if (line[pos] == '"') {
            ++pos;
            return out;
        } else {
            out += line[pos];
        }
    }
    return std::nullopt;
}

std::optional<host::RegistryValue> ParseValue(const std::string& line) {
    std::size_t pos = 0;
    auto name = Unquote(line, pos);
    if (!name || pos >= line.size() || line[pos] != '=') return std::nullopt;
    ++pos;
    if (line.compare(pos, 6, "dword:") == 0) {
        const std::string hex = line.substr(pos + 6);
        if (hex.empty() || hex.size() > 8 || hex.find_first_not_of("0123456789abcdefABCDEF") != std::string::npos)
            return std::nullopt;
        return host::RegistryValue{*name, static_cast<std::uint32_t>(std::stoul(hex, nullptr, 16))};
    }
    auto text = Unquote(line, pos);
    if (!text || pos != line.size()) return std::nullopt;
    return host::RegistryValue{*name, *text};
}

std::string FormatValue(const host::RegistryValue& value) {
    if (const auto* d = std::get_if<std::uint32_t>(&value.data)) {
        char hex[9];
        std::snprintf(hex, sizeof hex, "%08x", *d);
        return Quote(value.name) + "=dword:" + hex;
    }
    return Quote(value.name) + "=" + Quote(std::get<std::string>(value.data));
}

}  // namespace

std::string SettingsFile::DefaultFolder() {
    const auto config = ConfigFolder();
    return config ? (std::filesystem::path(*config) / "Moraine").string() : "";
}

std::string SettingsFile::FileOf(const std::string& key) const {
    const std::string module = key.substr(0, key.find('\\'));
    // A module name is one file name; anything else could leave the folder.
    const bool plain = !module.empty() && module.find('/') == std::string::npos && module != "." && module != "..";
    return (std::filesystem::path(folder_) / ((plain ? module : "Tessera") + ".conf")).string();
}

std::string SettingsFile::SectionOf(const std::string& key) {
    const std::size_t slash = key.find('\\');
    return slash == std::string::npos ? key : key.substr(slash + 1);
}

SettingsFile::Sections SettingsFile::ReadAll(const std::string& path) {
    Sections sections;
    std::string bytes;
    try {
        bytes = pdf::ReadRegularFile(path, kMostSettingsBytes);
    } catch (const host::HostError&) {
        return sections;  // missing, unreadable or no file at all: the defaults
    }
    std::istringstream in(bytes);
    std::string line, current;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.size() > 2 && line.front() == '[' && line.back() == ']') {
            current = line.substr(1, line.size() - 2);
            sections[current];
        } else if (auto value = ParseValue(line); value && !current.empty()) {
            auto& values = sections[current];
            std::erase_if(values, [&](const auto& v) { return v.name == value->name; });
            values.push_back(std::move(*value));
        }
    }
    return sections;
}

// The file holds passwords: only its owner may read it, and only the owner may
// list the folder. A file or folder left open by an older version is tightened.
bool SettingsFile::WriteAll(const std::string& path, const Sections& sections) {
    const std::string folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    Tighten(folder);
    std::ostringstream text;
    for (const auto& [name, values] : sections) {
        text << "[" << name << "]\n";
        for (const auto& v : values) text << FormatValue(v) << "\n";
        text << "\n";
    }
    // A new file of a name nobody could have chosen in advance (as outputs'
    // temporary files are), never opened through a name that was there.
    std::string temporary = path + ".XXXXXX";
    const int fd = ::mkostemp(temporary.data(), O_CLOEXEC);
    if (fd < 0) return false;
    const std::string bytes = text.str();
    const bool written = ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (::close(fd) == 0 && written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

// Only what is ours: a symbolic link in the file's or folder's place is left
// alone (changing its target would change a file outside the settings), and
// so is anything another user owns.
void SettingsFile::Tighten(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return;
    struct stat st {};
    const bool ours = ::fstat(fd, &st) == 0 && st.st_uid == ::geteuid() && (S_ISREG(st.st_mode) || S_ISDIR(st.st_mode));
    if (ours && (st.st_mode & 077) != 0) ::fchmod(fd, st.st_mode & 0700);
    ::close(fd);
}

host::RegistrySection SettingsFile::ReadSection(const std::string& key) {
    if (folder_.empty()) return {};
    Tighten(folder_);
    Tighten(FileOf(key));
    Sections all = ReadAll(FileOf(key));
    return host::RegistrySection(all[SectionOf(key)]);
}

void SettingsFile::WriteSection(const std::string& key, const std::vector<host::RegistryValue>& values) {
    if (folder_.empty()) return;  // no home to keep settings in
    const std::string path = FileOf(key);
    Sections all = ReadAll(path);
    auto& stored = all[SectionOf(key)];
    for (const auto& value : values) {
        const auto it = std::find_if(stored.begin(), stored.end(), [&](const auto& v) { return v.name == value.name; });
        if (it != stored.end())
            *it = value;
        else
            stored.push_back(value);
    }
    WriteAll(path, all);
}

}  // namespace tessera::settings
