#include "cli/ShellCompletions.h"

#include <sstream>

namespace tessera::app {
namespace {

// The values to offer: the fixed words, or the alternatives the value's
// name spells out ("text=PATTERN|blank|scan[=N]" offers text=, blank, scan).
std::vector<std::string> Offered(const OptionDoc& option) {
    if (!option.words.empty()) return option.words;
    if (!option.offered.empty()) return option.offered;
    std::vector<std::string> words;
    if (option.value.find('|') == std::string::npos || option.value.find('{') != std::string::npos) return words;
    std::istringstream in(option.value);
    for (std::string alternative; std::getline(in, alternative, '|');) {
        const std::size_t cut = alternative.find_first_of("=[:");
        words.push_back(cut == std::string::npos ? alternative
                                                 : alternative.substr(0, cut) + (alternative[cut] == '=' ? "=" : ""));
    }
    return words;
}

// The first sentence of a help, without what the shells' syntax would take for their own.
std::string ShortHelp(const std::string& help) {
    std::string out;
    for (const char c : help.substr(0, help.find("; ")).substr(0, 70))
        if (c != '[' && c != ']' && c != ':' && c != '\'' && c != '"' && c != '\\' && c != '`' && c != '$') out += c;
    return out;
}

std::string AllNames(const CommandDoc& command) {
    std::vector<std::string> names;
    for (const OptionDoc& option : command.options) names.insert(names.end(), option.names.begin(), option.names.end());
    names.push_back("--help");
    return JoinedWords(names, " ");
}

// How a shell offers an option's value: its fixed words, folders, files
// with an extension, or any file; "{}" stands for the words or extension.
struct ValueSyntax {
    const char* words;
    const char* folders;
    const char* extension;
    const char* anyFile;
};

constexpr ValueSyntax kBashValues{
    "_tessera_words \"{}\"", "COMPREPLY=($(compgen -d -- \"$cur\")); compopt -o filenames 2>/dev/null",
    "_tessera_files {}", "COMPREPLY=($(compgen -f -- \"$cur\")); compopt -o filenames 2>/dev/null"};
constexpr ValueSyntax kZshValues{":value:({})", ":folder:_files -/", ":file:_files -g \"*.{}\"", ":value:_files"};
constexpr ValueSyntax kFishValues{" -x -a '{}'", " -x -a '(__fish_complete_directories)'",
                                  " -x -a '(__fish_complete_suffix .{})'", " -r"};

std::string ValueText(const OptionDoc& option, const ValueSyntax& syntax) {
    const std::vector<std::string> words = Offered(option);
    const auto filled = [](std::string text, const std::string& value) {
        if (const std::size_t at = text.find("{}"); at != std::string::npos) text.replace(at, 2, value);
        return text;
    };
    if (!words.empty()) return filled(syntax.words, JoinedWords(words, " "));
    if (option.files == "dir") return syntax.folders;
    if (!option.files.empty()) return filled(syntax.extension, option.files);
    return syntax.anyFile;
}

// Bash: what follows an option with a value, as a `case` branch.
void BashValueCase(std::ostream& out, const std::string& command, const OptionDoc& option) {
    if (option.value.empty()) return;
    std::vector<std::string> patterns;
    for (const std::string& name : option.names) patterns.push_back("\"" + command + " " + name + "\"");
    out << "        " << JoinedWords(patterns, "|") << ") " << ValueText(option, kBashValues) << "; return ;;\n";
}

}  // namespace

std::string BashCompletion(const std::vector<CommandDoc>& commands, const CommandDoc& top) {
    std::vector<std::string> names;
    for (const CommandDoc& command : commands) names.push_back(command.name);
    std::ostringstream out;
    out << "# bash completion for tessera, made from its option table at build time\n"
        // Bash replaces only what follows the last = or : of the word typed.
        << "_tessera_words() {\n    COMPREPLY=($(compgen -W \"$1\" -- \"$cur\"))\n"
        << "    [[ ${COMPREPLY[0]} == *[=:] ]] && compopt -o nospace 2>/dev/null\n"
        << "    local head=${cur%\"${cur##*[=:]}\"}\n    [[ -n $head ]] && "
           "COMPREPLY=(\"${COMPREPLY[@]#\"$head\"}\")\n}\n"
        << "_tessera_files() { COMPREPLY=($(compgen -f -X \"!*.$1\" -- \"$cur\") $(compgen -d -- \"$cur\")); compopt "
           "-o filenames 2>/dev/null; }\n"
        // The line as typed, split at blanks only: bash's own words also
        // break at = and :, which values such as change=area: hold.
        << "_tessera() {\n    local words=(\"${COMP_WORDS[@]}\") count=$COMP_CWORD cur prev command=\"\" i\n"
        << "    if [[ -n $COMP_LINE ]]; then\n        read -ra words <<< \"${COMP_LINE:0:COMP_POINT}\"\n"
        << "        [[ ${COMP_LINE:0:COMP_POINT} == *[[:space:]] ]] && words+=(\"\")\n"
        << "        count=$((${#words[@]} - 1))\n    fi\n    cur=${words[count]} prev=${words[count-1]}\n"
        << "    for ((i = 1; i < count; i++)); do\n        case ${words[i]} in\n            " << JoinedWords(names, "|")
        << ") command=${words[i]}; break ;;\n        esac\n    done\n"
        << "    case \"$command $prev\" in\n";
    for (const OptionDoc& option : top.options) BashValueCase(out, "", option);
    for (const CommandDoc& command : commands)
        for (const OptionDoc& option : command.options) BashValueCase(out, command.name, option);
    out << "    esac\n    if [[ $cur == -* ]]; then\n        case $command in\n";
    for (const CommandDoc& command : commands)
        out << "            " << command.name << ") _tessera_words \"" << AllNames(command) << "\" ;;\n";
    out << "            *) _tessera_words \"" << AllNames(top)
        << " --version\" ;;\n        esac\n        return\n    fi\n"
        << "    case $command in\n        \"\") _tessera_words \"" << JoinedWords(names, " ") << "\" ;;\n";
    for (const CommandDoc& command : commands)
        if (!command.positional.value.empty() && !command.positional.files.empty())
            out << "        " << command.name << ") _tessera_files " << command.positional.files << " ;;\n";
    out << "    esac\n}\ncomplete -F _tessera tessera\n";
    return out.str();
}

std::string ZshCompletion(const std::vector<CommandDoc>& commands) {
    std::ostringstream out;
    out << "#compdef tessera\n# zsh completion for tessera, made from its option table at build time\n_tessera() {\n"
        << "    local -a commands\n    commands=(\n";
    for (const CommandDoc& command : commands)
        out << "        '" << command.name << ":" << ShortHelp(command.summary) << "'\n";
    out << "    )\n    if (( CURRENT == 2 )); then\n        _describe 'command' commands\n        return\n    fi\n"
        << "    case $words[2] in\n";
    for (const CommandDoc& command : commands) {
        out << "        " << command.name << ")\n            _arguments";
        for (const OptionDoc& option : command.options)
            for (const std::string& name : option.names)
                out << " \\\n                '" << name << "[" << ShortHelp(option.help) << "]"
                    << (option.value.empty() ? "" : ValueText(option, kZshValues)) << "'";
        if (!command.positional.value.empty())
            out << " \\\n                '*:" << command.positional.value << ":"
                << (command.positional.files.empty() ? "_files" : "_files -g \"*." + command.positional.files + "\"")
                << "'";
        out << " ;;\n";
    }
    out << "    esac\n}\n_tessera \"$@\"\n";
    return out.str();
}

std::string FishCompletion(const std::vector<CommandDoc>& commands) {
    std::ostringstream out;
    std::vector<std::string> names;
    for (const CommandDoc& command : commands) names.push_back(command.name);
    out << "# fish completion for tessera, made from its option table at build time\n"
        << "complete -c tessera -f\n";
    for (const CommandDoc& command : commands)
        out << "complete -c tessera -n '__fish_use_subcommand' -a " << command.name << " -d '"
            << ShortHelp(command.summary) << "'\n";
    for (const CommandDoc& command : commands) {
        const std::string when = " -n '__fish_seen_subcommand_from " + command.name + "'";
        for (const OptionDoc& option : command.options) {
            out << "complete -c tessera" << when;
            for (const std::string& name : option.names)
                out << (name.starts_with("--") ? " -l " + name.substr(2) : " -s " + name.substr(1));
            out << (option.value.empty() ? "" : ValueText(option, kFishValues)) << " -d '" << ShortHelp(option.help)
                << "'\n";
        }
        if (!command.positional.files.empty())
            out << "complete -c tessera" << when << " -k -a '(__fish_complete_suffix ." << command.positional.files
                << ")'\n";
    }
    return out.str();
}

}  // namespace tessera::app
