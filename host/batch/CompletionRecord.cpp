#include "batch/CompletionRecord.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>

#include <nlohmann/json.hpp>

#include "cabinet/Base64.h"
#include "host/BatchServices.h"
#include "os/FileDigest.h"
#include "os/InterruptCleanup.h"
#include "report/RunJson.h"
#include "settings/UserFolders.h"

namespace tessera::app {
namespace {

// A text of a record entry in its exact bytes: KEY_bytes (base64) where it is no UTF-8.
std::string ExactText(const nlohmann::json& entry, const std::string& key) {
    std::string text = entry.value(key, "");
    if (entry.contains(key + "_bytes")) cabinet::DecodeBase64(entry.value(key + "_bytes", ""), text);
    return text;
}

nlohmann::json StampJson(const InputStamp& stamp) {
    return {{"size", stamp.size}, {"modified_ns", stamp.modifiedNs}, {"sha256", stamp.sha256}};
}

}  // namespace

namespace {

// The stamp without its hash.
std::optional<InputStamp> SizeAndTimeOf(const std::string& path) {
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0) return std::nullopt;
    return InputStamp{static_cast<std::uint64_t>(info.st_size),
                      static_cast<std::int64_t>(info.st_mtim.tv_sec) * 1000000000 + info.st_mtim.tv_nsec, ""};
}

}  // namespace

std::optional<InputStamp> StampOf(const std::string& path) {
    std::optional<InputStamp> stamp = SizeAndTimeOf(path);
    const std::optional<std::string> sha = stamp ? FileSha256(path) : std::nullopt;
    if (!sha) return std::nullopt;
    stamp->sha256 = *sha;
    return stamp;
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

CompletionRecord::CompletionRecord(const std::string& outputFolder, const std::string& input, std::string settings,
                                   std::optional<InputStamp> stamp)
    : folder_(outputFolder),
      input_(AbsolutePath(input)),
      name_(std::filesystem::path(input_).filename().string()),
      settings_(std::move(settings)),
      stamp_(std::move(stamp)) {
    const std::string hash = StableHashHex(name_ + "\n" + (stamp_ ? stamp_->sha256 : ""));
    // The name only helps a reader; the hash tells records apart. Cut short,
    // it leaves room for the temporary suffix within the 255 bytes of a name.
    path_ = (std::filesystem::path(outputFolder) / ".tessera-done" / (name_.substr(0, 120) + "." + hash + ".json"))
                .string();
}

namespace {

// Each output the record lists as written, on disk with its bytes and
// SHA-256, found by its place in the output folder wherever that is mounted.
bool OutputsThere(const nlohmann::json& outputs, const std::string& folder) {
    if (!outputs.is_array()) return false;
    for (const nlohmann::json& output : outputs) {
        if (!output.is_object() || output.value("status", "") != "written") continue;
        const std::string path = (std::filesystem::path(folder) / ExactText(output, "file")).string();
        std::error_code error;
        const std::uintmax_t bytes = std::filesystem::file_size(path, error);
        if (error || bytes != output.value("bytes", std::uintmax_t{0}) ||
            FileSha256(path) != output.value("sha256", ""))
            return false;
    }
    return true;
}

// Flushes a file (or folder) to stable storage; false when it cannot.
bool Synced(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return false;
    const bool synced = ::fsync(fd) == 0;
    return ::close(fd) == 0 && synced;
}

}  // namespace

// A record is read only from a regular file, and only so far: the folder is
// shared, and a FIFO or a link to /dev/zero there would stall every worker.
constexpr std::size_t kMostRecordBytes = std::size_t{16} << 20;

bool CompletionRecord::Matches() const try {
    struct stat info {};
    if (!stamp_ || ::stat(path_.c_str(), &info) != 0 || !S_ISREG(info.st_mode) ||
        static_cast<std::size_t>(info.st_size) > kMostRecordBytes)
        return false;
    std::FILE* file = std::fopen(path_.c_str(), "rb");
    if (!file) return false;
    std::string text;
    char buffer[4096];
    for (std::size_t got; text.size() <= kMostRecordBytes && (got = std::fread(buffer, 1, sizeof buffer, file)) > 0;)
        text.append(buffer, got);
    std::fclose(file);
    const nlohmann::json record = nlohmann::json::parse(text, nullptr, false);
    if (record.is_discarded() || !record.is_object()) return false;
    const nlohmann::json stamp = record.value("stamp", nlohmann::json::object());
    // The same name and bytes, wherever the share is mounted and whatever its files' times.
    return ExactText(record, "name") == name_ && record.value("settings", "") == settings_ &&
           stamp.value("size", std::uint64_t{0}) == stamp_->size && stamp.value("sha256", "") == stamp_->sha256 &&
           OutputsThere(record.value("outputs", nlohmann::json()), folder_);
} catch (const nlohmann::json::exception&) {
    return false;  // a value of another type: the file is split again
}

bool CompletionRecord::Write(const InputStamp& before, const std::string& outputs, bool rehash) const {
    std::optional<InputStamp> stamp = rehash ? StampOf(input_) : SizeAndTimeOf(input_);
    if (stamp && !rehash) stamp->sha256 = before.sha256;
    if (!stamp || StampJson(*stamp) != StampJson(before)) return false;
    nlohmann::json record = {{"name", name_}, {"input", input_}, {"settings", settings_}, {"stamp", StampJson(*stamp)}};
    AddExactBytes(record, "name");
    AddExactBytes(record, "input");
    record["outputs"] = nlohmann::json::parse(outputs, nullptr, false);
    const std::filesystem::path folder = std::filesystem::path(AbsolutePath(folder_));
    for (nlohmann::json& output : record["outputs"]) {
        if (!output.is_object() || output.value("status", "") != "written") continue;
        const std::string path = ExactText(output, "path");
        if (!Synced(path)) return false;
        output["file"] = std::filesystem::path(path).lexically_relative(folder).string();
        AddExactBytes(output, "file");
    }
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
    Synced(std::filesystem::path(path_).parent_path().string());  // the rename too; without it a crash only redoes
    return true;
}

}  // namespace tessera::app
