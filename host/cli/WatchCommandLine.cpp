#include "cli/WatchCommandLine.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>
#include <CLI/CLI.hpp>

#include <cerrno>
#include <filesystem>
#include <fstream>
#include <iostream>

#include "cli/ExitStatus.h"
#include "runtime/HostTexts.h"
#include "watch/FolderWatcher.h"

namespace tessera::app {
namespace {

namespace fs = std::filesystem;

int signalWrite = -1;

// A stop signal writes its number; a split's end writes 0, to take the next file at once.
extern "C" void NoteSignal(int signal) {
    const int saved = errno;
    const unsigned char number = signal == SIGCHLD ? 0 : static_cast<unsigned char>(signal);
    [[maybe_unused]] const ssize_t written = ::write(signalWrite, &number, 1);
    errno = saved;
}

// The read end of a pipe the signals write into: the watcher ends (or
// abandons) what runs when stopped, and no signal ends it half way.
int StopSignalPipe() {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC | O_NONBLOCK) != 0) return -1;
    signalWrite = ends[1];
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    action.sa_flags = SA_RESTART | SA_NOCLDSTOP;
    sigemptyset(&action.sa_mask);
    for (const int s : {SIGTERM, SIGINT, SIGHUP, SIGCHLD}) ::sigaction(s, &action, nullptr);
    ::signal(SIGPIPE, SIG_IGN);
    return ends[0];
}

std::string ProgramPath() {
    std::error_code error;
    const fs::path self = fs::read_symlink("/proc/self/exe", error);
    return error ? "tessera" : self.string();
}

std::string Absolute(const std::string& path) {
    return path.empty() ? path : fs::absolute(path).lexically_normal().string();
}

// A folder the watcher writes into must not be the one it reads: its own
// outputs would be split again.
std::string Refusal(const WatchSetup& s) {
    if (s.profile.empty() && !fs::exists(fs::path(s.folder) / kFolderProfileName))
        return "watch: give --profile, or put a " + std::string(kFolderProfileName) + " into " + s.folder;
    const fs::path folder = fs::weakly_canonical(s.folder);
    for (const auto& [name, place] :
         {std::pair{"-o", s.outputFolder}, {"--done", s.doneFolder}, {"--failed", s.failedFolder}})
        if (!place.empty() && fs::weakly_canonical(place) == folder)
            return std::string("watch: ") + name +
                   " names the watched folder itself; its files would be taken as input";
    if (s.settleSeconds < 0 || s.settleSeconds > 86400) return "watch: --settle takes 0 to 86400 seconds";
    if (s.pollSeconds < 0.1 || s.pollSeconds > 86400) return "watch: --poll takes 0.1 to 86400 seconds";
    if (s.jobs < 1 || s.jobs > 64) return "watch: --jobs takes 1 to 64";
    return "";
}

}  // namespace

CLI::App* AddWatchCommand(CLI::App& app, WatchArguments& a) {
    WatchSetup& s = a.setup;
    CLI::App* watch = app.add_subcommand(
        "watch", HostText("watch", "Split every PDF that lands in a folder, once each, until stopped"));
    watch->add_option("folder", s.folder, HostText("watch_folder", "The folder to watch"))
        ->required()
        ->check(CLI::ExistingDirectory);
    watch
        ->add_option("--profile", s.profile,
                     HostText("watch_profile",
                              "The settings of every split (a .tpr profile); a folder holding a .tessera.tpr "
                              "splits its files (and its subfolders') with that one instead"))
        ->check(CLI::ExistingFile);
    watch
        ->add_option("-o,--output-folder", s.outputFolder,
                     HostText("watch_output-folder",
                              "Folder that receives the outputs; a file of a subfolder "
                              "has its outputs in a subfolder of the same name"))
        ->required();
    watch->add_flag("--recursive", s.recursive, HostText("watch_recursive", "Watch the subfolders too"));
    watch
        ->add_option("--settle", s.settleSeconds,
                     HostText("watch_settle",
                              "Take a file once no writer has it open and its size and time have not changed "
                              "for this many seconds (5 at first)"))
        ->type_name("SECONDS");
    watch
        ->add_option("--poll", s.pollSeconds,
                     HostText("watch_poll",
                              "Look through the folder this often, for changes the kernel does not report "
                              "(files written from other hosts of a network share; every 10 seconds at first)"))
        ->type_name("SECONDS");
    watch
        ->add_option("--done", s.doneFolder,
                     HostText("watch_done",
                              "Move each split input here; without it inputs stay, and their "
                              "completion records in the output folder keep them from being split again"))
        ->type_name("DIR");
    watch
        ->add_option(
            "--failed", s.failedFolder,
            HostText("watch_failed",
                     "Move each input that failed here, beside its note of why (scan.pdf.error.json for scan.pdf); "
                     "without it the note is written beside the input, which is not "
                     "tried again until it changes"))
        ->type_name("DIR");
    watch
        ->add_option(
            "--jobs", s.jobs,
            HostText("watch_jobs", "Split up to N files at once (1 at first), each with its share of the cores"))
        ->type_name("N");
    watch->add_flag(
        "--once", s.once,
        HostText("watch_once", "Split what is in the folder (once it settles), then exit: for cron and timers"));
    watch
        ->add_option("--log", s.logFile,
                     HostText("watch_log", "Append the events (one JSON object a line) to FILE, not stdout"))
        ->type_name("FILE");
    watch->add_flag(
        "--status", a.status,
        HostText("watch_status", "Print each PDF of the folder as waiting, running, failed or done, and exit"));
    watch->footer(HostText("watch_exit-status",
                           "Exit status: 0 stopped by SIGTERM, SIGINT or SIGHUP (the splits running are finished or "
                           "abandoned without a half-written output), or with --once every file split; 1 the folder "
                           "cannot be watched or the log cannot be written; 2 a usage error; 4 with --once some "
                           "file failed"));
    return watch;
}

int RunWatch(WatchArguments a, const std::string& module) {
    WatchSetup& s = a.setup;
    s.folder = Absolute(s.folder);
    s.profile = Absolute(s.profile);
    s.outputFolder = Absolute(s.outputFolder);
    s.doneFolder = Absolute(s.doneFolder);
    s.failedFolder = Absolute(s.failedFolder);
    s.module = Absolute(module);
    s.program = ProgramPath();
    if (const std::string refusal = Refusal(s); !refusal.empty()) {
        std::cerr << "tessera: " << refusal << std::endl;
        return Code(ExitStatus::UsageError);
    }
    std::ofstream log;
    if (!s.logFile.empty() && (log.open(s.logFile, std::ios::app), !log)) {
        std::cerr << "tessera: watch: cannot write the log " << s.logFile << std::endl;
        return Code(ExitStatus::Failed);
    }
    FolderWatcher watcher(s, s.logFile.empty() ? std::cout : log);
    if (a.status) return watcher.PrintStatus(std::cout);
    const int stop = StopSignalPipe();
    if (stop < 0) return Code(ExitStatus::Failed);
    return watcher.Run(stop);
}

}  // namespace tessera::app
