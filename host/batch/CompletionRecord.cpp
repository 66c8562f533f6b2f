#include "batch/CompletionRecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "app/FileDigest.h"
#include "app/InterruptCleanup.h"
#include "host/BatchServices.h"
#include "settings/UserFolders.h"

namespace tessera::app {
namespace {

std::uint64_t PathHash(const std::string& text) {
    std::uint64_t hash = 0xcbf29ce484222325ull;  // FNV-1a
    for (const unsigned char c : text) hash = (hash ^ c) * 0x100000001b3ull;
    return hash;
}

std::string AbsolutePath(const std::string& path) {
    std::error_code error;
    const std::filesystem::path absolute = std::filesystem::absolute(path, error);
    return error ? path : absolute.lexically_normal().string();
}

nlohmann::json StampJson(const InputStamp& stamp) {
    return {{"size", stamp.size}, {"modified_ns", stamp.modifiedNs}, {"sha256", stamp.sha256}};
}

}  // namespace

std::optional<InputStamp> StampOf(const std::string& path) {
    struct stat info{};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    const std::optional<std::string> sha = FileSha256(path);
    if (!sha) return std::nullopt;
    return InputStamp{static_cast<std::uint64_t>(info.st_size),
                      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec, *sha};
}

std::string SequenceOutputFolder(const host::Cabinet& commands) {
    const host::Cabinet* first = commands.GetCabinet("0");
    const host::Cabinet* params = first ? first->GetCabinet(host::kParams) : nullptr;
    const host::Cabinet* settings = params ? params->GetCabinet("Settings") : nullptr;
    const host::Cabinet* names = settings ? settings->GetCabinet("FilenameSettings") : nullptr;
    if (const std::optional<std::string> folder = names ? names->Get<std::string>("OutPutFolder") : std::nullopt;
        folder && !folder->empty())
        return *folder;
    return settings::DocumentsFolder().value_or(".");
}

CompletionRecord::CompletionRecord(const std::string& outputFolder, const std::string& input)
    : input_(AbsolutePath(input)) {
    char hash[17];
    std::snprintf(hash, sizeof hash, "%016llx", static_cast<unsigned long long>(PathHash(input_)));
    path_ = (std::filesystem::path(outputFolder) / ".tessera-done" /
             (std::filesystem::path(input_).filename().string() + "." + hash + ".json"))
                .string();
}

bool CompletionRecord::Matches() const {
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (!file) return false;
    std::string text;
    char buffer[4096];
    for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;) text.append(buffer, got);
    std::fclose(file);
    const nlohmann::json record = nlohmann::json::parse(text, nullptr, false);
    const std::optional<InputStamp> now = StampOf(input_);
    return !record.is_discarded() && record.is_object() && now && record.value("input", "") == input_ &&
           record.value("stamp", nlohmann::json()) == StampJson(*now);
}

bool CompletionRecord::Write(const std::string& details) const {
    const std::optional<InputStamp> stamp = StampOf(input_);
    if (!stamp) return false;
    nlohmann::json record = {{"input", input_}, {"stamp", StampJson(*stamp)}};
    record["details"] = nlohmann::json::parse(details, nullptr, false);
    const std::string text = record.dump(1, ' ', false, nlohmann::json::error_handler_t::replace) + "\n";
    std::error_code error;
    std::filesystem::create_directories(std::filesystem::path(path_).parent_path(), error);
    // Held back while the record is made: a signal never leaves half of one.
    const InterruptsHeld held;
    const std::string temporary = path_ + ".part" + std::to_string(::getpid());
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0) return false;
    const bool written = ::write(fd, text.data(), text.size()) == static_cast<ssize_t>(text.size()) && ::fsync(fd) == 0;
    const bool closed = ::close(fd) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), path_.c_str()) != 0) {
        std::remove(temporary.c_str());
        return false;
    }
    return true;
}

}  // namespace tessera::app
