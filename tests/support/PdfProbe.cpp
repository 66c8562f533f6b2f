#include "support/PdfProbe.h"

#include <sstream>

#include "support/RunCommand.h"

namespace tessera::test {
namespace {

std::string Trim(const std::string& s) {
    const std::size_t b = s.find_first_not_of(" \t\r\n");
    if (b == std::string::npos) return "";
    return s.substr(b, s.find_last_not_of(" \t\r\n") - b + 1);
}

std::string PasswordOption(const std::string& flag, const std::string& password) {
    return password.empty() ? "" : flag + ShellQuote(password) + " ";
}

}  // namespace

std::vector<std::string> PageTexts(const std::string& file, const std::string& password) {
    const CommandResult r =
        RunCommand("pdftotext -q " + PasswordOption("-upw ", password) + ShellQuote(file) + " - 2>/dev/null");
    std::vector<std::string> pages;
    std::string page;
    std::istringstream in(r.output);
    while (std::getline(in, page, '\f')) pages.push_back(Trim(page));
    if (!pages.empty() && pages.back().empty()) pages.pop_back();  // after the last form feed
    return pages;
}

std::vector<int> FixturePageNumbers(const std::string& file, const std::string& password) {
    std::vector<int> numbers;
    for (const std::string& text : PageTexts(file, password))
        numbers.push_back(text.rfind("Page ", 0) == 0 ? std::stoi(text.substr(5)) : 0);
    return numbers;
}

bool QpdfCheckPasses(const std::string& file, const std::string& password) {
    const CommandResult r =
        RunCommand("qpdf --check " + PasswordOption("--password=", password) + ShellQuote(file) + " >/dev/null 2>&1");
    return r.status == 0 || r.status == 3;  // 3: warnings only
}

std::string PdfInfoField(const std::string& file, const std::string& field, const std::string& password) {
    const CommandResult r =
        RunCommand("pdfinfo " + PasswordOption("-upw ", password) + ShellQuote(file) + " 2>/dev/null");
    std::istringstream in(r.output);
    for (std::string line; std::getline(in, line);)
        if (line.rfind(field + ":", 0) == 0) return Trim(line.substr(field.size() + 1));
    return "";
}

}  // namespace tessera::test
