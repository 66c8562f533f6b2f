#include "cli/CommandLineFrontEnd.h"

#include <CLI/CLI.hpp>

#include <algorithm>
#include <filesystem>
#include <sstream>

#include "cli/CommandDocs.h"
#include "cli/ExitStatus.h"
#include "report/PlanPrinter.h"
#include "runtime/HostTexts.h"

namespace tessera::app {
namespace {

CLI::Validator WordListValidator(const std::vector<std::string>& words) {
    return CLI::Validator(
        [words](std::string& value) -> std::string {
            std::stringstream in(value);
            for (std::string word; std::getline(in, word, ',');)
                if (std::find(words.begin(), words.end(), word) == words.end())
                    return "\"" + word + "\" is not one of " + JoinedWords(words, ", ");
            return "";
        },
        JoinedWords(words, ","));
}

}  // namespace

void CommandLineFrontEnd::AddOption(CLI::App& command, const host::OptionSpec& spec) {
    const std::string names = (spec.alias.empty() ? "" : "-" + spec.alias + ",") + "--" + spec.name;
    const std::string name = spec.name;
    if (spec.kind == host::OptionKind::Switch) {
        // Values are kept as they are parsed, so that later options win over earlier ones.
        command
            .add_flag_callback(
                names,
                [this, name] {
                    values_.push_back({name, "1"});
                },
                spec.help)
            ->group(spec.group)
            ->trigger_on_parse();
        command.add_flag_callback("--no-" + name,
                                  [this, name] {
                                      values_.push_back({name, "0"});
                                  })
            ->group("")
            ->trigger_on_parse();
        return;
    }
    auto* option = command.add_option_function<std::string>(
        names,
        [this, name, kind = spec.kind](const std::string& value) {
            // A folder is taken from where the user stands, as a shell user expects.
            const bool folder = kind == host::OptionKind::Folder && !value.empty();
            values_.push_back({name, folder ? std::filesystem::absolute(value).lexically_normal().string() : value});
        },
        spec.help);
    option->group(spec.group)->trigger_on_parse();
    switch (spec.kind) {
        // Numbers and levels are checked where they are read, so that every
        // mistake in them reads alike ("too large", "from 1 up").
        case host::OptionKind::PositiveInteger:
            option->type_name("N");
            break;
        case host::OptionKind::Levels:
            option->type_name("A[-B]");
            break;
        case host::OptionKind::Choice:
            option->check(CLI::IsMember(spec.words).description(""))->type_name(JoinedWords(spec.words, "|"));
            break;
        case host::OptionKind::WordList:
            option->check(WordListValidator(spec.words).description(""))->type_name(JoinedWords(spec.words, ","));
            break;
        case host::OptionKind::Folder:
            option->type_name("DIR");
            break;
        default:
            option->type_name("TEXT");
            break;
    }
    if (!spec.valueName.empty()) option->type_name(spec.valueName);
}

void CommandLineFrontEnd::AddDeclaredOptions(CLI::App& command) {
    for (const host::OptionSpec& spec : declared_) AddOption(command, spec);
    command.footer(footer_ + "\n\n" + HostText("exit-status", ExitStatusHelp()));
}

void CommandLineFrontEnd::DeclareHostTexts(const std::vector<std::pair<std::string, std::string>>& texts) {
    SetHostTexts(texts);
}

void CommandLineFrontEnd::ReportPlan(const std::vector<host::PlannedOutput>& outputs) {
    plan_ = outputs;
    if (!json_) PrintPlan(planOut_, outputs, account_.value_or(host::PageAccount{}));
}

void CommandLineFrontEnd::ReportRun(const std::vector<host::ReportedOutput>& outputs, const std::string& index) {
    reported_ = outputs;
    index_ = index;
    failure_ = lastMessage_ ? lastMessage_() : "";
}

void CommandLineFrontEnd::ReportOutcome(host::RunOutcome outcome, const std::string& message) {
    hasOutcome_ = true;
    outcome_ = outcome;
    message_ = message;
}

}  // namespace tessera::app
