#include "model/CabinetReader.h"

namespace tessera {
namespace {

const char* TypeName(const host::CabinetValue& value) {
    static const char* const kNames[] = {"a boolean",     "an integer", "a real",   "a text",
                                         "a byte string", "a pointer",  "a cabinet"};
    return kNames[value.index()];
}

}  // namespace

void CabinetReader::Refuse(const std::string& key, const std::string& why) const {
    throw CabinetRefusal("\"" + (path_.empty() ? key : path_ + "/" + key) + "\" " + why);
}

template <class T>
std::optional<T> CabinetReader::Typed(const std::string& key, const char* typeName) const {
    const host::CabinetValue* value = cabinet_.Find(key);
    if (!value) return std::nullopt;
    if (!std::holds_alternative<T>(*value)) Refuse(key, std::string("holds ") + TypeName(*value) + ", not " + typeName);
    return std::get<T>(*value);
}

bool CabinetReader::Flag(const std::string& key, bool otherwise) const {
    return Typed<bool>(key, "a boolean").value_or(otherwise);
}

std::int32_t CabinetReader::Integer(const std::string& key, std::int32_t otherwise) const {
    return Typed<std::int32_t>(key, "an integer").value_or(otherwise);
}

double CabinetReader::Real(const std::string& key, double otherwise) const {
    if (const std::optional<std::int32_t> whole = cabinet_.Get<std::int32_t>(key)) return *whole;
    return Typed<double>(key, "a real").value_or(otherwise);
}

std::string CabinetReader::Text(const std::string& key) const { return Typed<std::string>(key, "a text").value_or(""); }

std::optional<CabinetReader> CabinetReader::Nested(const std::string& key) const {
    const host::CabinetValue* value = cabinet_.Find(key);
    if (!value) return std::nullopt;
    if (!std::holds_alternative<host::CabinetBox>(*value))
        Refuse(key, std::string("holds ") + TypeName(*value) + ", not a cabinet");
    return CabinetReader(std::get<host::CabinetBox>(*value).Get(), path_.empty() ? key : path_ + "/" + key);
}

CabinetReader CabinetReader::Required(const std::string& key) const {
    std::optional<CabinetReader> nested = Nested(key);
    if (!nested) Refuse(key, "is missing");
    return *nested;
}

}  // namespace tessera
