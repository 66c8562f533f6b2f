#include "settings/SettingsFile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

#include "settings/UserFolders.h"

namespace tessera::settings {
namespace {

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
    std::ifstream in(path);
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
// list the folder. A file left readable by an older version is tightened.
bool SettingsFile::WriteAll(const std::string& path, const Sections& sections) {
    const std::string folder = std::filesystem::path(path).parent_path();
    std::error_code ec;
    if (!std::filesystem::is_directory(folder, ec)) {
        std::filesystem::create_directories(std::filesystem::path(folder).parent_path(), ec);
        if (::mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST) return false;
    }
    std::ostringstream text;
    for (const auto& [name, values] : sections) {
        text << "[" << name << "]\n";
        for (const auto& v : values) text << FormatValue(v) << "\n";
        text << "\n";
    }
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    if (fd < 0) return false;
    const std::string bytes = text.str();
    const bool written = ::fchmod(fd, 0600) == 0 &&
                         ::write(fd, bytes.data(), bytes.size()) == static_cast<ssize_t>(bytes.size());
    if (::close(fd) == 0 && written && std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

void SettingsFile::Tighten(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) == 0 && (st.st_mode & 077) != 0) ::chmod(path.c_str(), st.st_mode & 0700);
}

host::RegistrySection SettingsFile::ReadSection(const std::string& key) {
    if (folder_.empty()) return {};
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
