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
    "\\-\\-new\n.TP\nOUTPUT/.tessera\\-done/\ncompletion records of tessera batch \\-\\-skip\\-done and of "
    "tessera watch\n.TP\nFOLDER/.tessera.tpr\nthe profile tessera watch splits the files of FOLDER (and its "
    "subfolders) "
    "with\n.TP\nFOLDER/.tessera\\-watch/\nthe claims of the watchers of FOLDER, one per file being split\n.TP\n"
    "NAME.pdf.error.json\nwhy tessera watch could not split NAME.pdf, beside it\n.TP\n"
    "OUTPUT/.tessera\\-watch/\nwhat each watched file's outputs are, and the folders they are written in before "
    "they are moved beside the others\n.TP\n"
    "lib/systemd/user/tessera\\-watch@.service\na user service running tessera watch with the setup in "
    "~/.config/tessera/watch\\-NAME.env (an example is in share/doc/tessera/tessera\\-watch.env)\n.TP\n"
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
    // The watcher's own statuses are in its description: a split's would mislead there.
    out << (title == "tessera-watch" ? "" : ExitStatusRoff()) << kFilesRoff;
    if (!examples.empty()) out << ".SH EXAMPLES\n" << examples;
    out << ".SH SEE ALSO\n\\fBtessera\\fR(1), \\fBtessera\\-split\\fR(1), \\fBtessera\\-batch\\fR(1), "
           "\\fBtessera\\-gui\\fR(1), \\fBtessera\\-watch\\fR(1), \\fBqpdf\\fR(1)\n";
}

const char* const kSplitExamples =
    ".nf\ntessera split book.pdf \\-\\-equal 10 \\-o parts\ntessera split book.pdf \\-\\-bookmarks 1 \\-\\-prefix "
    "name \\-\\-folders\ntessera split scans.pdf \\-\\-separator code \\-\\-duplex\ntessera split big.pdf "
    "\\-\\-max\\-size 10MB \\-\\-dry\\-run \\-\\-json\n.fi\n";
const char* const kBatchExamples =
    ".nf\ntessera batch \\-\\-profile P.tpr \\-\\-folder in\nfind in \\-name \\(aq*.pdf\\(aq \\-print0 | tessera "
    "batch \\-\\-profile P.tpr \\-\\-files\\-from \\- \\-0\nparallel tessera batch \\-\\-profile P.tpr \\-\\-folder in "
    "\\-\\-shard {}/3 \\-\\-skip\\-done \\-\\-json ::: 1 2 3\n.fi\n";

const char* const kWatchDescription =
    ".PP\nEach PDF file (any letter case; hidden files are left alone) is taken once no writer the kernel reports has "
    "it open and its size, time and identity have not changed for \\-\\-settle seconds; the folder is also looked "
    "through every \\-\\-poll seconds, as network shares do not report what other hosts write. Each file is split by "
    "a tessera split of its own (with the profile, \\-o and \\-\\-json), into a staging folder in "
    "OUTPUT/.tessera\\-watch/; its outputs are moved beside the others only when it is done, and never over a file "
    "another input wrote (that input fails instead, saying which). A completion record is then written as tessera "
    "batch \\-\\-skip\\-done writes it, and the input is moved to \\-\\-done or stays, remembered by the record.\n"
    ".PP\nA file that fails is moved to \\-\\-failed or stays, with its reason in NAME.pdf.error.json beside it, and "
    "is not tried again until it changes. A file removed or replaced while it is split is left alone: its split is "
    "ended, its outputs are not kept, and the event says so. Watchers of one folder (two hosts on one share) claim "
    "each file by an exclusive create in FOLDER/.tessera\\-watch/; a claim whose holder has gone (the same host, no "
    "such process) or was not renewed for two minutes (another host) is taken over. After kill \\-9 or a power cut a "
    "restart splits what was not recorded, and nothing twice.\n"
    ".PP\nEvents go to stdout (or \\-\\-log) as one JSON object a line: started, taken, split (with the outputs "
    "and where the input went), failed (with the reason), skipped (done before, failed before, claimed by another "
    "watcher), left (changed while split, or the watcher stopped) and stopped.\n"
    ".PP\nExit status of the watcher itself: 0 when stopped by SIGTERM, SIGINT or SIGHUP (splits running are ended "
    "and their temporary files removed; those inputs stay for the next start), or with \\-\\-once when every file "
    "was split; 1 when the folder cannot be watched or the log written; 2 a usage error; 4 with \\-\\-once when "
    "some file failed.\n";

const char* const kWatchExamples =
    ".nf\ntessera watch /srv/scans/in \\-\\-profile invoices.tpr \\-o /srv/scans/out \\-\\-done /srv/scans/done "
    "\\-\\-failed /srv/scans/failed\ntessera watch in \\-\\-profile P.tpr \\-o out \\-\\-once \\-\\-log "
    "watch.log\ntessera watch in \\-\\-profile P.tpr \\-o out \\-\\-status\nsystemctl \\-\\-user enable "
    "\\-\\-now tessera\\-watch@scans\n.fi\n";

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
    const std::string description = Roff(command.summary) + ".\n" +
                                    (command.name == "split" ? ".PP\n.nf\n" + preformatted + ".fi\n" : "") +
                                    (command.name == "watch" ? kWatchDescription : "");
    return CommandText(command, description,
                       command.name == "split"   ? kSplitExamples
                       : command.name == "batch" ? kBatchExamples
                       : command.name == "watch" ? kWatchExamples
                                                 : "");
}

}  // namespace tessera::app
