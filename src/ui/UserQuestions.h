#pragma once
// What a step asks of the person running it: a message to acknowledge, a
// question to answer. A dialog asks through its own window's view, so its
// boxes belong to that window; the command line, which has no window,
// through the host's.
#include <string>

#include "access/Host.h"

namespace tessera {

class UserQuestions {
public:
    virtual ~UserQuestions() = default;
    // A message with OK only.
    virtual void ShowMessage(const std::string& text) = 0;
    // A question with Yes and No; true only for Yes.
    virtual bool AskYesNo(const std::string& title, const std::string& text) = 0;
};

// The host's own boxes, for steps that run without a window of their own.
class HostQuestions : public UserQuestions {
public:
    void ShowMessage(const std::string& text) override { Host().windows->MessageBox(text); }
    bool AskYesNo(const std::string& title, const std::string& text) override {
        return Host().windows->AskYesNo(title, text);
    }
};

}  // namespace tessera
