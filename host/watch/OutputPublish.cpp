#include "watch/OutputPublish.h"

#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <set>

#include "cabinet/Base64.h"
#include "os/FileDigest.h"
#include "report/RunJson.h"

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

std::string PublishedListPath(const std::string& outputRoot, const std::string& key) {
    return (fs::path(OutputStateFolder(outputRoot)) / (StableHashHex(key) + ".published")).string();
}

std::set<std::string> ReadPublished(const std::string& path) {
    std::ifstream in(path);
    const nlohmann::json list = nlohmann::json::parse(in, nullptr, false);
    std::set<std::string> paths;
    if (list.is_array())
        for (const nlohmann::json& entry : list)
            if (entry.is_string()) paths.insert(entry.get<std::string>());
    return paths;
}

bool WritePublished(const std::string& path, const std::set<std::string>& paths) {
    const std::string temporary = path + ".part" + std::to_string(::getpid());
    std::ofstream out(temporary, std::ios::trunc);
    out << JsonLine(nlohmann::json(paths)) << '\n';
    out.close();
    return out && std::rename(temporary.c_str(), path.c_str()) == 0;
}

// Every file below `staging`, by its place there.
std::vector<fs::path> StagedFiles(const fs::path& staging) {
    std::vector<fs::path> files;
    std::error_code error;
    for (fs::recursive_directory_iterator it(staging, error), end; !error && it != end; it.increment(error))
        if (it->is_regular_file(error)) files.push_back(it->path().lexically_relative(staging));
    return files;
}

}  // namespace

std::string OutputStateFolder(const std::string& outputRoot) {
    return (fs::path(outputRoot) / ".tessera-watch").string();
}

std::string StagingFolder(const std::string& outputRoot, const std::string& key) {
    return (fs::path(OutputStateFolder(outputRoot)) / ("staging-" + StableHashHex(key))).string();
}

std::optional<nlohmann::json> PublishOutputs(const std::string& outputRoot, const std::string& key,
                                             const std::string& folder, nlohmann::json outputs, std::string& failure) {
    const std::string staging = StagingFolder(outputRoot, key);
    const std::string listPath = PublishedListPath(outputRoot, key);
    std::set<std::string> published = ReadPublished(listPath);
    const std::vector<fs::path> files = StagedFiles(staging);
    const auto fail = [&](const std::string& why) {
        failure = why;
        std::error_code ignored;
        fs::remove_all(staging, ignored);
        return std::nullopt;
    };
    for (const fs::path& file : files) {
        const std::string target = (fs::path(folder) / file).lexically_normal().string();
        std::error_code error;
        if (fs::symlink_status(target, error).type() != fs::file_type::not_found && !published.count(target))
            return fail("its output " + target +
                        " would replace a file that is not its own; give the outputs names that hold the input's "
                        "(such as --prefix name, or {input} in --name)");
        published.insert(target);
    }
    if (!WritePublished(listPath, published)) return fail("cannot write " + listPath);
    for (const fs::path& file : files) {
        const fs::path target = fs::path(folder) / file;
        std::error_code error;
        fs::create_directories(target.parent_path(), error);
        fs::rename(fs::path(staging) / file, target, error);
        if (error) return fail("cannot move its output to " + target.string() + ": " + error.message());
    }
    for (nlohmann::json& output : outputs) {
        if (!output.is_object() || !output.contains("path")) continue;
        // A name that is not UTF-8 is exact only in its bytes.
        std::string path = output.value("path", "");
        if (output.contains("path_bytes")) cabinet::DecodeBase64(output.value("path_bytes", ""), path);
        output.erase("path_bytes");
        output["path"] = (fs::path(folder) / fs::path(path).lexically_relative(staging)).lexically_normal().string();
        AddExactBytes(output, "path");
    }
    std::error_code ignored;
    fs::remove_all(staging, ignored);
    return outputs;
}

}  // namespace tessera::app
