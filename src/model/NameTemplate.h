#pragma once
// A name template: the text of an output's name with fields in braces that
// each output fills in from what was found on its pages ("INV-{1}",
// "{input}/{n:03} {title}"). "/" in a template makes folders; "{{" and "}}"
// stand for braces themselves.
//
// Fields: {key} (the value a split on changes found, or the code of the
// separator sheet before the output, also as {code}), {1} to {9} (capture
// groups of the pattern that found it), {NAME} (a named group), {n} (the
// output's number), {total} (the number of outputs), {from} and {to} (its
// first and last page), {label} (its first page's label), {title} (its
// bookmark), {input} (the input's name without extension), {date} (the run's
// date, ISO), {part} and {parts} (which part of how many, where the size
// limit cut the output; 1 and 1 elsewhere). A number field may say its width: {n:03} pads to three digits
// with zeros, {n:0} to the width of the total; an output's number so padded
// is never narrower than the total, so that names sort in order.
#include <array>
#include <map>
#include <string>
#include <string_view>
#include <vector>

#include "strings/Result.h"

namespace tessera {

// What one output gives the fields; a field without a value is empty.
struct NameFieldValues {
    std::string key;
    std::array<std::string, 9> groups;
    std::map<std::string, std::string, std::less<>> named;
    int number = 0, total = 0, from = 0, to = 0;
    int part = 1, parts = 1;  // of an output the size limit cut
    std::string label, title, input, date;
};

class NameTemplate {
public:
    // The template of text, or why not, naming the column (from 1) of the
    // first thing that cannot be read.
    static Result<NameTemplate> Parse(std::string_view text);

    // The name of one output, "/" still marking folders. A name that comes
    // out empty, or with an empty folder or file name, is the output's number
    // instead: an output is never left without a name.
    std::string Expand(const NameFieldValues& values) const;

    // Whether the template holds the field (a named group's name, "1", "n"...).
    bool Uses(std::string_view field) const;
    // The fields that are none of the template's own: the named groups it
    // expects a pattern to have.
    std::vector<std::string> GroupNames() const;
    // Whether a pattern's group of this name would be hidden by a field of
    // the template's own ({n}, {key}...).
    static bool IsOwnField(std::string_view name);

private:
    struct Piece {
        std::string text;  // a literal, or the field's name
        bool field = false;
        int width = -1;  // -1: as it comes; 0: the total's width
    };
    std::vector<Piece> pieces_;
};

}  // namespace tessera
