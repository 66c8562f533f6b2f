#include "viewer/ConsoleWindows.h"

#include <fcntl.h>
#include <spawn.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <iostream>
#include <vector>

namespace tessera::app {
namespace {

bool HasDesktop() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

// Runs a program found on PATH with its arguments as they are (no shell reads
// them), its output silenced; true when it ran and exited with 0.
bool RunQuietly(std::vector<std::string> words) {
    std::vector<char*> argv;
    for (std::string& word : words) argv.push_back(word.data());
    argv.push_back(nullptr);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, STDOUT_FILENO, STDERR_FILENO);
    pid_t child = 0;
    const int failed = ::posix_spawnp(&child, argv[0], &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (failed) return false;
    int status = 0;
    while (::waitpid(child, &status, 0) < 0)
        if (errno != EINTR) return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// A box's text on one line of a terminal: its line breaks become blanks.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '\n')
            out += c;
        else if (!out.empty() && out.back() != ' ')
            out += ' ';
    }
    return out;
}

}  // namespace

void ConsoleWindows::MessageBox(const std::string& text) { std::cerr << "tessera: " << OneLine(text) << std::endl; }

bool ConsoleWindows::AskYesNo(const std::string& title, const std::string& text) {
    if (assumeYes_) return true;
    const std::string question = (title.empty() ? "" : title + ": ") + OneLine(text);
    // Without a terminal nobody can answer: say what was asked and what it means.
    if (!::isatty(STDIN_FILENO) || !::isatty(STDERR_FILENO)) {
        std::cerr << "tessera: " << question << " No: there is no terminal to answer on; --yes answers Yes"
                  << std::endl;
        return false;
    }
    std::cerr << question << " [y/N] " << std::flush;
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    return answer == "y" || answer == "Y" || answer == "yes" || answer == "Yes";
}

void ConsoleWindows::ShowInformation(const std::string& title, const std::vector<std::string>& lines) {
    std::cout << title << "\n";
    for (const std::string& line : lines) std::cout << "  " << line << "\n";
    std::cout << std::flush;
}

bool ConsoleWindows::OpenWithShell(const std::string& path) {
    struct stat st {};
    if (::stat(path.c_str(), &st) != 0) return false;
    if (HasDesktop() && RunQuietly({"xdg-open", path})) return true;
    std::cout << path << std::endl;
    return true;
}

}  // namespace tessera::app
