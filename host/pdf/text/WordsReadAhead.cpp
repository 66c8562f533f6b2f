#include "pdf/text/WordsReadAhead.h"

#include "host/HostError.h"
#include "os/InterruptCleanup.h"
#include "pdf/text/PageWords.h"

namespace tessera::pdf {
namespace {

// Pages read ahead of the one asked for: enough to ride out a slow page,
// few enough that their words take little memory.
constexpr int kWindow = 32;

}  // namespace

WordsReadAhead::WordsReadAhead(std::string path, std::string password, std::vector<MupdfDocument::ObjectId> wanted,
                               int first, unsigned threads)
    : path_(std::move(path)), password_(std::move(password)), wanted_(std::move(wanted)), next_(first), asked_(first) {
    // The threads inherit the signals held: the main thread takes them all,
    // so the report an interrupt gives is never read while it changes.
    const app::InterruptsHeld held;
    for (unsigned i = 0; i < threads; ++i) threads_.emplace_back([this] { Work(); });
}

WordsReadAhead::~WordsReadAhead() {
    {
        const std::lock_guard lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

std::optional<WordsReadAhead::Words> WordsReadAhead::Read(MupdfDocument& document, int page) const {
    try {
        MupdfDocument::ObjectId loaded;
        const MupdfDocument::Text text = document.PageText(page, page, loaded);
        if (loaded == wanted_[static_cast<std::size_t>(page)]) return PageWords(*text);
    } catch (const host::HostError&) {
    }
    return std::nullopt;
}

void WordsReadAhead::Work() {
    std::unique_ptr<MupdfDocument> document;
    try {
        document = std::make_unique<MupdfDocument>(path_, password_);
    } catch (const host::HostError&) {
        return;  // the pages are read by the caller
    }
    const int count = static_cast<int>(wanted_.size());
    for (;;) {
        int page = 0;
        {
            std::unique_lock lock(mutex_);
            changed_.wait(lock, [&] { return stopping_ || (next_ < count && next_ < asked_ + kWindow); });
            if (stopping_) return;
            page = next_++;
            slots_[page];
        }
        std::optional<Words> words = Read(*document, page);
        {
            const std::lock_guard lock(mutex_);
            Slot& slot = slots_[page];
            slot.done = true;
            slot.words = std::move(words);
        }
        changed_.notify_all();
    }
}

std::optional<WordsReadAhead::Words> WordsReadAhead::Take(int page, MupdfDocument& own) {
    std::unique_lock lock(mutex_);
    asked_ = page;
    changed_.notify_all();
    auto found = slots_.find(page);
    if (found == slots_.end()) {
        if (page >= next_) next_ = page + 1;  // the caller reads it; threads go on after it
        return std::nullopt;
    }
    // While a thread is at the page asked for, the caller reads the next one.
    while (!found->second.done) {
        if (next_ < static_cast<int>(wanted_.size()) && next_ < page + kWindow) {
            const int ahead = next_++;
            slots_[ahead];
            lock.unlock();
            std::optional<Words> words = Read(own, ahead);
            lock.lock();
            slots_[ahead] = {true, std::move(words)};
            found = slots_.find(page);
        } else {
            changed_.wait(lock);
        }
    }
    const bool read = found->second.words.has_value();
    Words words = read ? std::move(*found->second.words) : Words{};
    slots_.erase(slots_.begin(), std::next(found));  // pages passed over are not asked for again in a scan
    if (!read) return std::nullopt;
    return words;
}

}  // namespace tessera::pdf
