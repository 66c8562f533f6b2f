#include "cli/CommandDocs.h"

#include <CLI/CLI.hpp>

#include <map>
#include <sstream>

namespace tessera::app {
namespace {

// Files an option names, by the option: what the shells offer after it.
std::string FilesOf(const std::string& name, host::OptionKind kind) {
    static const std::map<std::string, std::string> kByName = {
        {"input", "pdf"},     {"--file", "pdf"},        {"--profile", "tpr"}, {"--save-profile", "tpr"},
        {"sequence", "json"}, {"--new", "json"},        {"--folder", "dir"},  {"--screenshot", "png"},
        {"--module", "api"},  {"--plan-picture", "png"}};
    if (kind == host::OptionKind::Folder) return "dir";
    const auto found = kByName.find(name);
    return found == kByName.end() ? "" : found->second;
}

const host::OptionSpec* DeclaredSpec(const std::vector<host::OptionSpec>& declared, const std::string& longName) {
    for (const host::OptionSpec& spec : declared)
        if (spec.name == longName) return &spec;
    return nullptr;
}

OptionDoc DocOf(const CLI::Option& option, const std::vector<host::OptionSpec>& declared) {
    OptionDoc doc;
    for (const std::string& s : option.get_snames()) doc.names.push_back("-" + s);
    for (const std::string& l : option.get_lnames()) doc.names.push_back("--" + l);
    doc.help = option.get_description();
    doc.group = option.get_group();
    if (option.get_expected_min() > 0) doc.value = option.get_type_name();
    host::OptionKind kind = host::OptionKind::Text;
    if (const host::OptionSpec* spec =
            option.get_lnames().empty() ? nullptr : DeclaredSpec(declared, option.get_lnames()[0])) {
        doc.words = spec->words;
        doc.offered = spec->offered;
        doc.initial = spec->initial;
        kind = spec->kind;
        if (!spec->valueName.empty()) doc.value = spec->valueName;
    }
    const std::string& name = option.get_positional() ? option.get_name() : doc.names.back();
    doc.files = FilesOf(name, kind);
    if (doc.words.empty() && doc.value.find('{') != std::string::npos) {  // a CLI11 choice: TEXT:{a,b}
        std::istringstream in(doc.value.substr(doc.value.find('{') + 1, doc.value.find('}') - doc.value.find('{') - 1));
        for (std::string word; std::getline(in, word, ',');) doc.words.push_back(word);
    }
    return doc;
}

CommandDoc CommandDocOf(const CLI::App& command, const std::vector<host::OptionSpec>& declared) {
    CommandDoc doc{command.get_name(), command.get_description(), {}, {}};
    for (const CLI::Option* option : command.get_options()) {
        if (option->get_group().empty() || option->get_name() == "--help" ||
            option->get_lnames() == std::vector<std::string>{"help"})
            continue;
        if (option->get_positional()) {
            doc.positional = DocOf(*option, declared);
            doc.positional.value = option->get_name();
            continue;
        }
        doc.options.push_back(DocOf(*option, declared));
    }
    return doc;
}

}  // namespace

std::string JoinedWords(const std::vector<std::string>& words, const std::string& separator) {
    std::string out;
    for (const std::string& w : words) out += (out.empty() ? "" : separator) + w;
    return out;
}

std::vector<CommandDoc> CollectCommands(const CLI::App& app, const std::vector<host::OptionSpec>& declared,
                                        CommandDoc& top) {
    std::vector<CommandDoc> commands;
    for (const CLI::App* command : app.get_subcommands({}))
        if (!command->get_group().empty()) commands.push_back(CommandDocOf(*command, declared));
    top = CommandDocOf(app, declared);
    return commands;
}

}  // namespace tessera::app
