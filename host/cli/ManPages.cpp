#include "cli/ManPages.h"

#include <sstream>

#include "cli/ExitStatus.h"

namespace tessera::app {
namespace {

// Text as roff reads it: backslashes and hyphens kept, no line read as a request.
std::string Roff(const std::string& text) {
    std::string out;
    for (const char c : text) {
        if (c == '\\')
            out += "\\e";
        else if (c == '-')
            out += "\\-";
        else
            out += c;
    }
    if (!out.empty() && (out[0] == '.' || out[0] == '\'')) out.insert(0, "\\&");
    return out;
}

const char* const kFilesRoff =
    ".SH FILES\n.TP\n$XDG_CONFIG_HOME/Moraine/Tessera.conf\nthe settings of the last \\-\\-remembered run "
    "(~/.config/Moraine/Tessera.conf by default)\n.TP\n*.tpr\nprofiles: a whole setup as JSON, written by "
    "\\-\\-save\\-profile and read by \\-\\-profile\n.TP\n*.json\nbatch sequences, written by tessera batch "
    "\\-\\-new\n.TP\nOUTPUT/.tessera\\-done/\ncompletion records of tessera batch \\-\\-skip\\-done\n.TP\n"
    "lib/tessera/\nthe plug\\-in module Tessera.api and the language files Tessera.lan, LanguageTable.lan and their "
    "translations (Tessera.de.lan...), beside the installed bin/tessera\n"
    ".SH ENVIRONMENT\n.TP\nLANGUAGE, LC_ALL, LC_MESSAGES, LANG\nthe language of messages, help and windows\n.TP\n"
    "SOURCE_DATE_EPOCH\nthe time that stands for now, for runs that repeat their files\n.TP\nTESSERA\na batch "
    "sequence to run at start\\-up, instead of a command\n.TP\nTESSERA_MODULE\nthe plug\\-in module to load\n.TP\n"
    "TMPDIR\nwhere tessera split \\- copies standard input\n";

void WriteOption(std::ostream& out, const OptionDoc& option) {
    std::vector<std::string> names;
    for (const std::string& name : option.names) names.push_back("\\fB" + Roff(name) + "\\fR");
    out << ".TP\n"
        << JoinedWords(names, ", ") << (option.value.empty() ? "" : " \\fI" + Roff(option.value) + "\\fR") << "\n"
        << Roff(option.help) << "\n";
    if (!option.words.empty()) out << ".br\nValues: " << Roff(JoinedWords(option.words, ", ")) << ".\n";
    if (!option.initial.empty()) out << ".br\nInitially: " << Roff(option.initial) << ".\n";
}

void WritePage(std::ostream& out, const std::string& title, const std::string& summary, const std::string& synopsis,
               const std::string& description, const std::vector<OptionDoc>& options, const std::string& examples) {
    out << ".TH " << Roff(title) << " 1 \"\" \"tessera " << TESSERA_VERSION << "\" \"User Commands\"\n"
        << ".SH NAME\n"
        << Roff(title) << " \\- " << Roff(summary) << "\n.SH SYNOPSIS\n"
        << synopsis << "\n"
        << ".SH DESCRIPTION\n"
        << description << "\n";
    std::string group;
    for (const OptionDoc& option : options) {
        if (option.group != group || group.empty()) {
            if (option.group != group)
                out << ".SS " << Roff(option.group == "Options" ? "Options" : option.group) << "\n";
            group = option.group;
        }
        WriteOption(out, option);
    }
    out << ExitStatusRoff() << kFilesRoff;
    if (!examples.empty()) out << ".SH EXAMPLES\n" << examples;
    out << ".SH SEE ALSO\n\\fBtessera\\fR(1), \\fBtessera\\-split\\fR(1), \\fBtessera\\-batch\\fR(1), "
           "\\fBtessera\\-gui\\fR(1), \\fBqpdf\\fR(1)\n";
}

const char* const kSplitExamples =
    ".nf\ntessera split book.pdf \\-\\-equal 10 \\-o parts\ntessera split book.pdf \\-\\-bookmarks 1 \\-\\-prefix "
    "name \\-\\-folders\ntessera split scans.pdf \\-\\-separator code \\-\\-duplex\ntessera split big.pdf "
    "\\-\\-max\\-size 10MB \\-\\-dry\\-run \\-\\-json\n.fi\n";
const char* const kBatchExamples =
    ".nf\ntessera batch \\-\\-profile P.tpr \\-\\-folder in\nfind in \\-name \\(aq*.pdf\\(aq \\-print0 | tessera "
    "batch \\-\\-profile P.tpr \\-\\-files\\-from \\- \\-0\nparallel tessera batch \\-\\-profile P.tpr \\-\\-folder in "
    "\\-\\-shard {}/3 \\-\\-skip\\-done \\-\\-json ::: 1 2 3\n.fi\n";

std::string CommandText(const CommandDoc& command, const std::string& description, const std::string& examples) {
    std::ostringstream page;
    const std::string synopsis = "\\fBtessera " + command.name + "\\fR [\\fIOPTIONS\\fR]" +
                                 (command.positional.value.empty() ? "" : " \\fI" + command.positional.value + "\\fR");
    WritePage(page, "tessera-" + command.name, command.summary, synopsis, description, command.options, examples);
    return page.str();
}

}  // namespace

std::string MainPage(const std::vector<CommandDoc>& commands, const CommandDoc& top) {
    std::ostringstream page, list;
    for (const CommandDoc& command : commands)
        list << ".TP\n\\fB" << command.name << "\\fR\n" << Roff(command.summary) << "\n";
    WritePage(page, "tessera", "split one PDF document into many",
              "\\fBtessera\\fR [\\fB\\-\\-module\\fR \\fIFILE\\fR] \\fICOMMAND\\fR [\\fIOPTIONS\\fR]\n.br\n"
              "\\fBtessera \\-\\-version\\fR",
              "Tessera splits one PDF document into many: into equal page counts, at bookmark levels, at separator "
              "pages, by hand\\-made lists of ranges and queries, or into files no larger than a size; it names the "
              "outputs and carries links, bookmarks, document information, security and watermarks into them.\n"
              ".SS Commands\n" +
                  list.str(),
              top.options, "");
    return page.str();
}

std::string CommandPage(const CommandDoc& command, const std::string& footer) {
    // The footer is laid out in columns of its own: kept as it is.
    std::string preformatted;
    std::istringstream lines(footer);
    for (std::string line; std::getline(lines, line);) preformatted += Roff(line) + "\n";
    const std::string description =
        Roff(command.summary) + ".\n" + (command.name == "split" ? ".PP\n.nf\n" + preformatted + ".fi\n" : "");
    return CommandText(command, description,
                       command.name == "split"   ? kSplitExamples
                       : command.name == "batch" ? kBatchExamples
                                                 : "");
}

}  // namespace tessera::app
