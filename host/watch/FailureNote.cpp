#include "watch/FailureNote.h"

#include <unistd.h>

#include <cstdio>
#include <fstream>
#include <nlohmann/json.hpp>

#include "report/RunJson.h"

namespace tessera::app {

std::string FailureNotePath(const std::string& input) { return input + ".error.json"; }

bool WriteFailureNote(const std::string& input, const FileLook& look, const std::string& reason, int exitStatus) {
    const std::string path = FailureNotePath(input);
    const std::string temporary = path + ".part" + std::to_string(::getpid());
    {
        std::ofstream out(temporary, std::ios::binary | std::ios::trunc);
        out << JsonLine({{"file", input},
                         {"reason", reason},
                         {"exit_status", exitStatus},
                         {"size", look.size},
                         {"modified_ns", look.modifiedNs}})
            << '\n';
        out.close();
        if (!out) {
            std::remove(temporary.c_str());
            return false;
        }
    }
    if (std::rename(temporary.c_str(), path.c_str()) == 0) return true;
    std::remove(temporary.c_str());
    return false;
}

bool FailureNoteMatches(const std::string& input, const FileLook& look) {
    std::ifstream in(FailureNotePath(input));
    if (!in) return false;
    const nlohmann::json note = nlohmann::json::parse(in, nullptr, false);
    return note.is_object() && note.value("size", std::uint64_t{0}) == look.size &&
           note.value("modified_ns", std::int64_t{0}) == look.modifiedNs;
}

}  // namespace tessera::app
