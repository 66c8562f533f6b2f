#include "app/ConsoleWindows.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <iostream>

namespace tessera::app {
namespace {

bool HasDesktop() { return std::getenv("DISPLAY") || std::getenv("WAYLAND_DISPLAY"); }

std::string Quoted(const std::string& word) {
    std::string out = "'";
    for (char c : word) out += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return out + "'";
}

// A box's text on one line of a terminal: its line breaks become blanks.
std::string OneLine(const std::string& text) {
    std::string out;
    for (char c : text) {
        if (c != '\n') out += c;
        else if (!out.empty() && out.back() != ' ') out += ' ';
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
    if (HasDesktop() && std::system(("xdg-open " + Quoted(path) + " >/dev/null 2>&1").c_str()) == 0) return true;
    std::cout << path << std::endl;
    return true;
}

}  // namespace tessera::app
