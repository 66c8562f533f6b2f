#include "model/NameTemplate.h"

#include <algorithm>
#include <cctype>

namespace tessera {
namespace {

constexpr std::string_view kNumberFields[] = {"n", "total", "from", "to", "part", "parts"};

constexpr std::string_view kTextFields[] = {"key", "code", "label", "title", "input", "date"};

bool IsNumberField(std::string_view name) { return std::ranges::find(kNumberFields, name) != std::end(kNumberFields); }
bool IsTextField(std::string_view name) { return std::ranges::find(kTextFields, name) != std::end(kTextFields); }
bool IsGroup(std::string_view name) { return name.size() == 1 && name[0] >= '1' && name[0] <= '9'; }
bool IsIdentifier(std::string_view name) {
    if (name.empty() || std::isdigit(static_cast<unsigned char>(name[0]))) return false;
    return std::ranges::all_of(name, [](char c) { return std::isalnum(static_cast<unsigned char>(c)) || c == '_'; });
}

Failure At(std::size_t column, const std::string& what) {
    return Failure{"column " + std::to_string(column + 1) + ": " + what};
}

// A number padded with zeros to width.
std::string Padded(int value, int width) {
    std::string digits = std::to_string(value);
    if (static_cast<int>(digits.size()) < width) digits.insert(0, static_cast<std::size_t>(width) - digits.size(), '0');
    return digits;
}

int Number(std::string_view name, const NameFieldValues& v) {
    if (name == "part" || name == "parts") return name == "part" ? v.part : v.parts;
    return name == "n" ? v.number : name == "total" ? v.total : name == "from" ? v.from : v.to;
}

std::string Value(std::string_view name, const NameFieldValues& v) {
    if (name == "key" || name == "code") return v.key;
    if (name == "label") return v.label;
    if (name == "title") return v.title;
    if (name == "input") return v.input;
    if (name == "date") return v.date;
    if (IsGroup(name)) return v.groups[static_cast<std::size_t>(name[0] - '1')];
    const auto named = v.named.find(name);
    return named == v.named.end() ? std::string() : named->second;
}

// A value found on a page never makes folders.
std::string OnePart(std::string text) {
    std::ranges::replace(text, '/', '_');
    std::ranges::replace(text, '\\', '_');
    return text;
}

// A folder the template itself names that would lead out of the output folder.
bool LeadsOut(std::string_view text) {
    if (!text.empty() && text.front() == '/') return true;
    for (std::size_t start = 0; start <= text.size();) {
        const std::size_t stop = std::min(text.find('/', start), text.size());
        const std::string_view part = text.substr(start, stop - start);
        if (part == "." || part == "..") return true;
        start = stop + 1;
    }
    return false;
}

// A name, a folder name among its parts, left empty.
bool HasEmptyPart(std::string_view name) {
    return name.empty() || name.front() == '/' || name.back() == '/' || name.find("//") != std::string_view::npos;
}

}  // namespace

Result<NameTemplate> NameTemplate::Parse(std::string_view text) {
    NameTemplate parsed;
    std::string literal;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if ((c == '{' || c == '}') && i + 1 < text.size() && text[i + 1] == c) {
            literal += c, ++i;
            continue;
        }
        if (c == '}') return At(i, "\"}\" without \"{\" (write \"}}\" for a brace)");
        if (c != '{') {
            literal += c;
            continue;
        }
        const std::size_t close = text.find('}', i);
        if (close == std::string_view::npos) return At(i, "\"{\" without \"}\" (write \"{{\" for a brace)");
        const std::string_view inside = text.substr(i + 1, close - i - 1);
        const std::string_view name = inside.substr(0, inside.find(':'));
        Piece field{std::string(name), true};
        if (name.size() < inside.size()) {
            const std::string_view width = inside.substr(name.size() + 1);
            if (!IsNumberField(name)) return At(i, "only {n}, {total}, {from}, {to}, {part} and {parts} take a width");
            if (width.empty() || width.size() > 2 || width[0] != '0' ||
                !std::ranges::all_of(width, [](char d) { return std::isdigit(static_cast<unsigned char>(d)); }))
                return At(i + name.size() + 2, "a width is 0 (the total's) or 0 and a digit, as in {n:03}");
            field.width = width.size() == 1 ? 0 : width[1] - '0';
        }
        if (!IsNumberField(name) && !IsGroup(name) && !IsIdentifier(name))
            return At(i + 1, "\"" + std::string(name) + "\" is no field");
        if (!literal.empty()) parsed.pieces_.push_back({std::move(literal)}), literal.clear();
        parsed.pieces_.push_back(std::move(field));
        i = close;
    }
    if (!literal.empty()) parsed.pieces_.push_back({std::move(literal)});
    if (LeadsOut(text)) return At(0, "folders are made inside the output folder: no leading \"/\", \".\" or \"..\"");
    return parsed;
}

std::string NameTemplate::Expand(const NameFieldValues& values) const {
    std::string name;
    const int totalWidth = static_cast<int>(std::to_string(values.total).size());
    for (const Piece& piece : pieces_) {
        if (!piece.field)
            name += piece.text;
        else if (IsNumberField(piece.text))
            // An output's number is never narrower than the total's, so that names sort in order.
            name += Padded(Number(piece.text, values),
                           piece.text == "n" && piece.width >= 0 ? std::max(piece.width, totalWidth) : piece.width);
        else
            name += OnePart(Value(piece.text, values));
    }
    return HasEmptyPart(name) ? std::to_string(values.number) : name;
}

bool NameTemplate::Uses(std::string_view field) const {
    return std::ranges::any_of(pieces_, [&](const Piece& p) { return p.field && p.text == field; });
}

std::vector<std::string> NameTemplate::GroupNames() const {
    std::vector<std::string> names;
    for (const Piece& piece : pieces_)
        if (piece.field && !IsOwnField(piece.text) && !IsGroup(piece.text)) names.push_back(piece.text);
    return names;
}

bool NameTemplate::IsOwnField(std::string_view name) { return IsNumberField(name) || IsTextField(name); }

}  // namespace tessera
