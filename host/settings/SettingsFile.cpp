#include "settings/SettingsFile.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>
#include <sstream>

namespace tessera::settings {
namespace {

std::string Quote(const std::string& text) {
    std::string out = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') out += '\\';
        out += c;
    }
    return out + "\"";
}

// Reads a quoted string at line[pos]; advances pos past it.
std::optional<std::string> Unquote(const std::string& line, std::size_t& pos) {
    if (pos >= line.size() || line[pos] != '"') return std::nullopt;
    std::string out;
    for (++pos; pos < line.size(); ++pos) {
        if (line[pos] == '\\' && pos + 1 < line.size()) {
            out += line[++pos];
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
    std::string base;
    if (const char* config = std::getenv("XDG_CONFIG_HOME"); config && *config == '/')
        base = config;
    else if (const char* home = std::getenv("HOME"); home && *home)
        base = std::string(home) + "/.config";
    else
        base = "/tmp";
    return base + "/Moraine";
}

std::string SettingsFile::FileOf(const std::string& key) const {
    const std::string module = key.substr(0, key.find('\\'));
    // A module name is one file name; anything else could leave the folder.
    const bool plain = !module.empty() && module.find('/') == std::string::npos && module != "." && module != "..";
    return folder_ + "/" + (plain ? module : "Tessera") + ".conf";
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

bool SettingsFile::WriteAll(const std::string& path, const Sections& sections) {
    std::error_code ec;
    const std::filesystem::path target(path);
    std::filesystem::create_directories(target.parent_path(), ec);
    const std::string temporary = path + ".tmp" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::trunc);
        for (const auto& [name, values] : sections) {
            out << "[" << name << "]\n";
            for (const auto& v : values) out << FormatValue(v) << "\n";
            out << "\n";
        }
        if (!out.flush()) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

host::RegistrySection SettingsFile::ReadSection(const std::string& key) {
    Sections all = ReadAll(FileOf(key));
    return host::RegistrySection(all[SectionOf(key)]);
}

void SettingsFile::WriteSection(const std::string& key, const std::vector<host::RegistryValue>& values) {
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
