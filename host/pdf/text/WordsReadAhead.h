#pragma once
// Reads the words of the pages after the one asked for on threads of their
// own, each with a MuPDF document of its own, so that a scan from the first
// page to the last keeps every core busy. A thread keeps the words only of a
// page that is the page object wanted at its place; any other page, and any
// page a thread failed on, is left to the caller to read as it would
// without threads: the words found are the same either way. The caller
// reads too, when it would wait otherwise.
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "host/WordFinderServices.h"
#include "pdf/text/MupdfDocument.h"

namespace tessera::pdf {

class WordsReadAhead {
public:
    using Words = std::vector<host::PageWord>;
    // Threads start at page `first`.
    WordsReadAhead(std::string path, std::string password, std::vector<MupdfDocument::ObjectId> wanted, int first,
                   unsigned threads);
    ~WordsReadAhead();
    WordsReadAhead(const WordsReadAhead&) = delete;
    WordsReadAhead& operator=(const WordsReadAhead&) = delete;

    // The words a thread read for `page`; while one is at it, the caller
    // reads pages after it in its own document `own`. None when the page is
    // the caller's to read.
    std::optional<Words> Take(int page, MupdfDocument& own);

private:
    struct Slot {
        bool done = false;
        std::optional<Words> words;
    };
    void Work();
    std::optional<Words> Read(MupdfDocument& document, int page) const;

    const std::string path_, password_;
    const std::vector<MupdfDocument::ObjectId> wanted_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<int, Slot> slots_;  // the pages threads took and the caller has not
    int next_ = 0;               // the next page a thread takes
    int asked_ = 0;              // threads keep within a window after it
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace tessera::pdf
