#include "pdf/writing/XmpPacket.h"

#include <qpdf/QUtil.hh>

#include <algorithm>
#include <cstdlib>
#include <iterator>

namespace tessera::pdf {
namespace {

constexpr std::string_view kRdf = "http://www.w3.org/1999/02/22-rdf-syntax-ns#";
constexpr std::string_view kBlank = " \t\r\n";

// Where markup that holds no elements ends: comments, CDATA sections,
// processing instructions and declarations; npos when it never does.
std::size_t SkipNonElement(const std::string& xml, std::size_t at) {
    for (const auto& [open, close] :
         {std::pair{"<!--", "-->"}, std::pair{"<![CDATA[", "]]>"}, std::pair{"<?", "?>"}, std::pair{"<!", ">"}})
        if (xml.compare(at, std::string_view(open).size(), open) == 0) {
            const std::size_t end = xml.find(close, at + std::string_view(open).size());
            return end == std::string::npos ? end : end + std::string_view(close).size();
        }
    return at;
}

// One past the '>' that ends the tag at `at`, quotes respected.
std::size_t TagEnd(const std::string& xml, std::size_t at) {
    char quote = 0;
    for (std::size_t i = at + 1; i < xml.size(); ++i) {
        if (quote) {
            if (xml[i] == quote) quote = 0;
        } else if (xml[i] == '"' || xml[i] == '\'') {
            quote = xml[i];
        } else if (xml[i] == '>') {
            return i + 1;
        }
    }
    return std::string::npos;
}

// The character a numeric reference (#65, #x41) names; 0 when it names none.
unsigned long CodePoint(std::string_view entity) {
    if (entity.size() < 2 || entity[0] != '#') return 0;
    const bool hex = entity[1] == 'x';
    const std::string digits(entity.substr(hex ? 2 : 1));
    if (digits.empty() ||
        digits.find_first_not_of(hex ? "0123456789abcdefABCDEF" : "0123456789") != std::string::npos ||
        digits.size() > 7)
        return 0;
    const unsigned long code = std::strtoul(digits.c_str(), nullptr, hex ? 16 : 10);
    return code <= 0x10FFFF ? code : 0;
}

// The characters XML names, both ways.
constexpr std::pair<char, std::string_view> kEntities[] = {
    {'<', "lt"}, {'>', "gt"}, {'&', "amp"}, {'"', "quot"}, {'\'', "apos"}};

std::string Unescape(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const std::size_t semi = text[i] == '&' ? text.find(';', i) : std::string_view::npos;
        if (semi == std::string_view::npos || semi - i > 10) {
            out += text[i];
            continue;
        }
        const std::string_view entity = text.substr(i + 1, semi - i - 1);
        const auto named = std::ranges::find(kEntities, entity, &std::pair<char, std::string_view>::second);
        if (named != std::end(kEntities))
            out += named->first;
        else if (const unsigned long code = CodePoint(entity); code != 0)
            out += QUtil::toUTF8(code);
        else
            out += text.substr(i, semi - i + 1);
        i = semi;
    }
    return out;
}

std::string Escape(std::string_view text) {
    std::string out;
    for (const char c : text) {
        const auto named = std::ranges::find(kEntities, c, &std::pair<char, std::string_view>::first);
        if (named == std::end(kEntities) || c == '\'')
            out += c;
        else
            out += "&" + std::string(named->second) + ";";
    }
    return out;
}

std::string Trimmed(std::string_view text) {
    const std::size_t first = text.find_first_not_of(kBlank);
    if (first == std::string_view::npos) return "";
    return std::string(text.substr(first, text.find_last_not_of(kBlank) - first + 1));
}

struct NamedAttribute {
    std::string name;
    std::size_t begin, end;
    std::string value;
};

// The attributes of a start tag [begin, end), as written.
std::vector<NamedAttribute> AttributesOf(const std::string& xml, std::size_t begin, std::size_t end) {
    std::vector<NamedAttribute> attributes;
    std::size_t at = xml.find_first_of(kBlank, begin);
    while (at < end) {
        at = xml.find_first_not_of(kBlank, at);
        if (at >= end || xml[at] == '/' || xml[at] == '>') break;
        const std::size_t eq = xml.find('=', at);
        if (eq >= end) break;
        const std::size_t open = xml.find_first_of("\"'", eq);
        const std::size_t close = open < end ? xml.find(xml[open], open + 1) : std::string::npos;
        if (close >= end) break;
        attributes.push_back({Trimmed(std::string_view(xml).substr(at, eq - at)), at, close + 1,
                              Unescape(std::string_view(xml).substr(open + 1, close - open - 1))});
        at = close + 1;
    }
    return attributes;
}

}  // namespace

XmpPacket::XmpPacket(std::string xml) : xml_(std::move(xml)) { Parse(); }

void XmpPacket::Parse() {
    tags_.clear();
    valid_ = false;
    std::vector<std::string> open;
    for (std::size_t at = xml_.find('<'); at != std::string::npos; at = xml_.find('<', at)) {
        if (const std::size_t skipped = SkipNonElement(xml_, at); skipped != at) {
            if (skipped == std::string::npos) return;
            at = skipped;
            continue;
        }
        Tag tag;
        tag.begin = at;
        tag.end = TagEnd(xml_, at);
        if (tag.end == std::string::npos) return;
        tag.closing = xml_[at + 1] == '/';
        tag.empty = !tag.closing && xml_[tag.end - 2] == '/';
        const std::size_t nameAt = at + (tag.closing ? 2 : 1);
        tag.name = xml_.substr(nameAt, xml_.find_first_of(" \t\r\n/>", nameAt) - nameAt);
        if (tag.closing) {
            if (open.empty() || open.back() != tag.name) return;
            open.pop_back();
        } else if (!tag.empty) {
            open.push_back(tag.name);
        }
        tags_.push_back(tag);
        at = tag.end;
    }
    if (!open.empty()) return;
    const std::string rdf = Rdf() + ":RDF";
    for (const Tag& tag : tags_) valid_ = valid_ || (!tag.closing && tag.name == rdf);
}

std::vector<std::pair<std::string, std::size_t>> XmpPacket::Bindings(std::string_view ns) const {
    std::vector<std::pair<std::string, std::size_t>> bindings;
    for (std::size_t i = 0; i < tags_.size(); ++i)
        if (!tags_[i].closing)
            for (const NamedAttribute& a : AttributesOf(xml_, tags_[i].begin, tags_[i].end))
                if (a.name.rfind("xmlns:", 0) == 0 && a.value == ns) bindings.emplace_back(a.name.substr(6), i);
    return bindings;
}

std::vector<std::string> XmpPacket::Prefixes(std::string_view ns) const {
    std::vector<std::string> prefixes;
    for (const auto& [prefix, declaredAt] : Bindings(ns)) prefixes.push_back(prefix);
    return prefixes;
}

std::string XmpPacket::Rdf() const {
    const std::vector<std::string> prefixes = Prefixes(kRdf);
    return prefixes.empty() ? "rdf" : prefixes.front();
}

std::size_t XmpPacket::Closing(std::size_t open) const {
    if (tags_[open].empty) return open;
    int depth = 0;
    for (std::size_t i = open; i < tags_.size(); ++i) {
        if (tags_[i].empty) continue;
        depth += tags_[i].closing ? -1 : 1;
        if (depth == 0) return i;
    }
    return open;
}

std::optional<XmpPacket::Attribute> XmpPacket::FindAttribute(const Tag& tag, std::string_view qname) const {
    for (const NamedAttribute& a : AttributesOf(xml_, tag.begin, tag.end))
        if (a.name == qname) return Attribute{a.begin, a.end, a.value};
    return std::nullopt;
}

std::optional<std::string> XmpPacket::Text(std::string_view ns, std::string_view name) const {
    if (!valid_) return std::nullopt;
    const std::string description = Rdf() + ":Description", li = Rdf() + ":li";
    for (const std::string& prefix : Prefixes(ns)) {
        const std::string qname = prefix + ":" + std::string(name);
        for (std::size_t i = 0; i < tags_.size(); ++i) {
            const Tag& tag = tags_[i];
            if (tag.closing) continue;
            if (tag.name == description)
                if (const auto attribute = FindAttribute(tag, qname)) return attribute->value;
            if (tag.name != qname) continue;
            if (tag.empty) return "";
            std::size_t from = i, to = Closing(i);
            for (std::size_t j = i + 1; j < to; ++j)
                if (tags_[j].name == li && !tags_[j].closing && !tags_[j].empty) {
                    from = j;
                    to = Closing(j);
                    break;
                }
            const std::string_view inner =
                std::string_view(xml_).substr(tags_[from].end, tags_[to].begin - tags_[from].end);
            if (inner.find('<') != std::string_view::npos) return std::nullopt;  // structured, not text
            return Unescape(Trimmed(inner));
        }
    }
    return std::nullopt;
}

bool XmpPacket::RemoveOnce(std::string_view ns, std::string_view name) {
    const std::string description = Rdf() + ":Description";
    for (const std::string& prefix : Prefixes(ns)) {
        const std::string qname = prefix + ":" + std::string(name);
        for (std::size_t i = 0; i < tags_.size(); ++i) {
            const Tag& tag = tags_[i];
            if (tag.closing) continue;
            std::size_t begin = 0, end = 0;
            if (const auto attribute = tag.name == description ? FindAttribute(tag, qname) : std::nullopt) {
                begin = attribute->begin;
                end = attribute->end;
            } else if (tag.name == qname) {
                begin = tag.begin;
                end = tags_[Closing(i)].end;
            } else {
                continue;
            }
            // The blanks before it go too, so that no empty line is left.
            const std::string_view blanks = tag.name == qname ? " \t" : kBlank;
            while (begin > 0 && blanks.find(xml_[begin - 1]) != std::string_view::npos) --begin;
            if (tag.name == qname && begin > 0 && xml_[begin - 1] == '\n') --begin;
            xml_.erase(begin, end - begin);
            Parse();
            return true;
        }
    }
    return false;
}

void XmpPacket::Remove(std::string_view ns, std::string_view name) {
    if (!valid_) return;
    while (RemoveOnce(ns, name)) {
    }
}

// The first rdf:Description in the scope of tag `scope` (the element that
// declares a prefix, and all inside it; npos: the whole packet); npos when
// none is.
std::size_t XmpPacket::DescriptionWithin(std::size_t scope) const {
    const std::string description = Rdf() + ":Description";
    const std::size_t last = scope == std::string::npos ? tags_.size() : Closing(scope);
    for (std::size_t i = scope == std::string::npos ? 0 : scope; i <= last && i < tags_.size(); ++i)
        if (!tags_[i].closing && tags_[i].name == description) return i;
    return std::string::npos;
}

void XmpPacket::Insert(std::string_view ns, std::string_view prefix, std::string_view name, const std::string& inner) {
    std::string declaration, bound;
    std::size_t target = std::string::npos;
    // A prefix holds only inside the element that declares it: the property
    // goes where its namespace is already declared, or declares it anew.
    for (const auto& [known, declaredAt] : Bindings(ns))
        if (target = DescriptionWithin(declaredAt); target != std::string::npos) {
            bound = known;
            break;
        }
    if (target == std::string::npos) {
        // A prefix the packet does not already bind to another namespace.
        bound = std::string(prefix);
        for (int n = 1; xml_.find("xmlns:" + bound + "=") != std::string::npos; ++n)
            bound = std::string(prefix) + std::to_string(n);
        declaration = " xmlns:" + bound + "=\"" + std::string(ns) + "\"";
        target = DescriptionWithin(std::string::npos);
    }
    const std::string qname = bound + ":" + std::string(name);
    const std::string element = "<" + qname + ">" + inner + "</" + qname + ">";
    const std::string rdf = Rdf(), description = rdf + ":Description";
    if (target != std::string::npos) {
        const Tag tag = tags_[target];
        if (tag.empty) {
            std::size_t slash = tag.end - 2;
            while (slash > tag.begin && (xml_[slash - 1] == ' ' || xml_[slash - 1] == '\t')) --slash;
            xml_.replace(slash, tag.end - slash, declaration + ">\n  " + element + "\n</" + description + ">");
        } else {
            xml_.insert(tags_[Closing(target)].begin, "  " + element + "\n");
            xml_.insert(tag.begin + 1 + tag.name.size(), declaration);
        }
        Parse();
        return;
    }
    for (std::size_t i = 0; i < tags_.size(); ++i)
        if (!tags_[i].closing && tags_[i].name == rdf + ":RDF") {
            xml_.insert(tags_[Closing(i)].begin, "<" + description + " " + rdf + ":about=\"\"" + declaration + ">\n  " +
                                                     element + "\n</" + description + ">\n");
            Parse();
            return;
        }
}

void XmpPacket::SetText(std::string_view ns, std::string_view prefix, std::string_view name, std::string_view value) {
    if (!valid_) return;
    Remove(ns, name);
    Insert(ns, prefix, name, Escape(value));
}

void XmpPacket::SetLangAlt(std::string_view ns, std::string_view prefix, std::string_view name,
                           std::string_view value) {
    if (!valid_) return;
    Remove(ns, name);
    const std::string r = Rdf();
    Insert(ns, prefix, name,
           "<" + r + ":Alt><" + r + ":li xml:lang=\"x-default\">" + Escape(value) + "</" + r + ":li></" + r + ":Alt>");
}

void XmpPacket::SetSeq(std::string_view ns, std::string_view prefix, std::string_view name, std::string_view value) {
    if (!valid_) return;
    Remove(ns, name);
    const std::string r = Rdf();
    Insert(ns, prefix, name, "<" + r + ":Seq><" + r + ":li>" + Escape(value) + "</" + r + ":li></" + r + ":Seq>");
}

}  // namespace tessera::pdf
