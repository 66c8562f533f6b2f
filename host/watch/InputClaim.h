#pragma once
// A watcher's claim on one input, so that two watchers of one folder (two
// hosts on one share, or a restart beside a process still running) never
// split a file twice. A claim is a file made by an exclusive create in the
// watched folder's state folder, naming its holder (host, boot, process);
// it is stale when its holder is known to be gone (same host and boot, no
// such process), or, for a holder elsewhere, when it was not renewed for
// kStaleClaimAge: holders renew theirs while they work.
#include <chrono>
#include <optional>
#include <string>

namespace tessera::app {

inline constexpr std::chrono::seconds kStaleClaimAge{120};
inline constexpr std::chrono::seconds kClaimRenewal{20};

class InputClaim {
public:
    // Claims `key` in `folder` (made if missing); none when a live holder
    // has it, or the claim cannot be made.
    static std::optional<InputClaim> Take(const std::string& folder, const std::string& key);
    InputClaim(InputClaim&& other) noexcept : path_(std::move(other.path_)) { other.path_.clear(); }
    InputClaim& operator=(InputClaim&&) = delete;
    InputClaim(const InputClaim&) = delete;
    ~InputClaim();
    void Renew() const;

private:
    explicit InputClaim(std::string path) : path_(std::move(path)) {}
    std::string path_;
};

// The path of `key`'s claim in `folder`.
std::string ClaimPath(const std::string& folder, const std::string& key);
// Who holds the claim at `path` ("host pid N"), or none when nobody live does.
std::optional<std::string> LiveClaimHolder(const std::string& path);

}  // namespace tessera::app
