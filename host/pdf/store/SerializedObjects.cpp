#include "pdf/store/SerializedObjects.h"

#include <algorithm>
#include <cstring>

#include "host/HostError.h"
#include "pdf/store/PdfDocument.h"

namespace tessera::pdf {
namespace {

// Deeper direct nesting than pages may have (pages are refused beyond it
// before they are copied) means a damaged object.
constexpr int kDeepest = 512;

// A name as the file spells it: characters outside the regular printable
// ones are written as #xx.
void AppendName(std::string& out, const std::string& name) {
    const bool plain = std::all_of(name.begin() + 1, name.end(),
                                   [](char c) { return c > 0x20 && c < 0x7f && !std::strchr("()<>[]{}/%#", c); });
    out += plain ? name : QPDFObjectHandle::newName(name).unparse();
}

template <class Classify>
class Serializer {
public:
    Serializer(SerializedObject& out, Classify& leads) : out_(out), leads_(leads) {}

    // The value of `key` in the object serialized (not inside its values)
    // becomes a reference to `replacement`, an object of the output.
    void Replace(const std::string& key, QPDFObjGen replacement) {
        replacedKey_ = &key;
        replacement_ = replacement;
    }

    void Value(QPDFObjectHandle value, int depth) {
        if (depth > kDeepest)
            throw host::HostError(host::kErrorDamaged, "an object nests more than " + std::to_string(kDeepest) +
                                                           " levels deep, too deep to write");
        if (value.isIndirect() && depth > 0) return Reference(value);
        if (value.isDictionary()) {
            out_.text += "<<";
            Entries(value, false, depth);
            out_.text += " >>";
        } else if (value.isArray()) {
            out_.text += "[";
            for (const QPDFObjectHandle& item : value.aitems()) {
                out_.text += ' ';
                Value(item, depth + 1);
            }
            out_.text += " ]";
        } else if (value.isInteger()) {
            out_.text += std::to_string(value.getIntValue());
        } else if (value.isName()) {
            AppendName(out_.text, value.getName());
        } else {
            // null, booleans, numbers and strings as qpdf writes them; an
            // object of its own (a string kept apart) by its value.
            out_.text += value.unparseResolved();
        }
    }

    // The entries of a dictionary, without its brackets; a stream's /Length
    // is the writer's.
    void Entries(QPDFObjectHandle dict, bool stream, int depth) {
        for (const std::string& key : dict.getKeys()) {
            if (stream && key == "/Length") continue;
            QPDFObjectHandle item = dict.getKey(key);
            if (item.isNull() && !item.isIndirect()) continue;  // qpdf leaves such entries out
            out_.text += ' ';
            AppendName(out_.text, key);
            out_.text += ' ';
            if (replacedKey_ && depth == 0 && key == *replacedKey_) {
                out_.slots.push_back(
                    {static_cast<std::uint32_t>(out_.text.size()), replacement_, SerializedObject::Leads::Output});
                continue;
            }
            Value(item, depth + 1);
        }
    }

private:
    void Reference(QPDFObjectHandle value) {
        out_.slots.push_back({static_cast<std::uint32_t>(out_.text.size()), value.getObjGen(), leads_(value)});
    }

    SerializedObject& out_;
    Classify& leads_;
    const std::string* replacedKey_ = nullptr;
    QPDFObjGen replacement_;
};

}  // namespace

template <class Classify>
SerializedObject Serialize(QPDFObjectHandle object, Classify leads, const std::string* key = nullptr,
                           QPDFObjGen replacement = {}) {
    SerializedObject made;
    Serializer<Classify> serializer(made, leads);
    if (key) serializer.Replace(*key, replacement);
    if (object.isStream()) {
        made.stream = true;
        QPDFObjectHandle dict = object.getDict();
        made.compress = !dict.hasKey("/Filter") && !dict.hasKey("/DecodeParms") &&
                        !dict.getKey("/Type").isNameAndEquals("/Metadata");
        made.text += "<<";
        serializer.Entries(object.getDict(), true, 0);
    } else {
        serializer.Value(object, 0);
    }
    return made;
}

SerializedObject SerializeAsIs(const QPDFObjectHandle& object) {
    return Serialize(object, [](const QPDFObjectHandle&) { return SerializedObject::Leads::Object; });
}

SerializedObject SerializedObjects::Made(QPDFObjGen object, const std::string* key, QPDFObjGen replacement) {
    const QPDFObjGen root = doc_.Qpdf().getRoot().getObjGen();
    const auto leads = [&](QPDFObjectHandle target) {
        using Leads = SerializedObject::Leads;
        if (target.getObjGen() == root || target.isPagesObject()) return Leads::Nothing;
        return target.isPageObject() ? Leads::Page : Leads::Object;
    };
    return Serialize(doc_.Qpdf().getObject(object), leads, key, replacement);
}

const SerializedObject& SerializedObjects::Of(QPDFObjGen object) {
    auto known = kept_.find(object);
    if (known != kept_.end()) return known->second;
    SerializedObject made = Made(object, nullptr, {});
    if (askedOnce_.insert(object).second) {
        last_ = std::move(made);
        return last_;
    }
    return kept_.emplace(object, std::move(made)).first->second;
}

SerializedObject SerializedObjects::Replacing(QPDFObjGen object, const std::string& key, QPDFObjGen replacement) {
    return Made(object, &key, replacement);
}

}  // namespace tessera::pdf
