#pragma once
// An XMP packet edited as text: the few properties a split output must make
// true of itself are set, read and removed, and everything else (other
// schemas, comments, padding, the writer's layout) stays byte for byte.
// A packet that is not well-formed enough to edit safely is never touched.
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tessera::pdf {

class XmpPacket {
public:
    explicit XmpPacket(std::string xml);

    // An rdf:RDF element with balanced tags: the packet can be edited.
    bool Valid() const { return valid_; }
    const std::string& Xml() const { return xml_; }

    // The property's simple value, or the first item of its array or
    // language alternative; none when the packet does not hold it.
    std::optional<std::string> Text(std::string_view ns, std::string_view name) const;

    // Replace the property (element or attribute form) with a new value;
    // `prefix` names the namespace only when the packet does not yet bind it.
    void SetText(std::string_view ns, std::string_view prefix, std::string_view name, std::string_view value);
    void SetLangAlt(std::string_view ns, std::string_view prefix, std::string_view name, std::string_view value);
    void SetSeq(std::string_view ns, std::string_view prefix, std::string_view name, std::string_view value);
    void Remove(std::string_view ns, std::string_view name);

private:
    struct Tag {
        std::size_t begin = 0, end = 0;  // '<' and one past '>'
        std::string name;
        bool closing = false, empty = false;
    };
    struct Attribute {
        std::size_t begin = 0, end = 0;  // the name's first byte, one past the closing quote
        std::string value;
    };

    void Parse();
    // The prefixes bound to ns, with the tag that declares each.
    std::vector<std::pair<std::string, std::size_t>> Bindings(std::string_view ns) const;
    std::vector<std::string> Prefixes(std::string_view ns) const;
    std::size_t DescriptionWithin(std::size_t scope) const;
    std::size_t Closing(std::size_t open) const;
    std::optional<Attribute> FindAttribute(const Tag& tag, std::string_view qname) const;
    bool RemoveOnce(std::string_view ns, std::string_view name);
    void Insert(std::string_view ns, std::string_view prefix, std::string_view name, const std::string& inner);
    std::string Rdf() const;

    std::string xml_;
    std::vector<Tag> tags_;
    bool valid_ = false;
};

}  // namespace tessera::pdf
