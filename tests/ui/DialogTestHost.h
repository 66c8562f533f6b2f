#pragma once
// What a dialog test stands on: the real host with recorded alerts, and the
// real language table so that every message can be told from the others.
#include <utility>

#include "strings/LanguageTable.h"
#include "support/MemoryView.h"
#include "support/ScopedLanguageTable.h"
#include "support/TestHost.h"

namespace tessera::test {

class DialogTestHost : public TestHost {
public:
    DialogTestHost() { LoadLanguageFile(std::string(TESSERA_SOURCE_DIR) + "/lang/Tessera.lan"); }

    // The alerts shown so far, each as its key's text; then forgets them.
    std::vector<std::string> TakeAlerts() { return std::exchange(viewer.alerts, {}); }
    static std::vector<std::string> Texts(std::initializer_list<const char*> keys) {
        std::vector<std::string> texts;
        for (const char* key : keys) texts.push_back(LookupString(key));
        return texts;
    }

private:
    ScopedLanguageTable table_;
};

// A dialog opened over an in-memory view, as a user meets it.
template <typename D>
struct Opened {
    template <typename... Args>
    explicit Opened(Args&&... args) : dialog(std::forward<Args>(args)...), view(dialog) {}
    D dialog;
    MemoryView view;
};

}  // namespace tessera::test
