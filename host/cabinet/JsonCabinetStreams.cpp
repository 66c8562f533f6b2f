#include "cabinet/JsonCabinetStreams.h"

#include <nlohmann/json.hpp>

#include <limits>
#include <set>
#include <vector>

#include "cabinet/Base64.h"
#include "host/HostError.h"

namespace tessera::cabinet {
namespace {

using Json = nlohmann::ordered_json;

constexpr int kMaxDepth = 200;

Json ToJson(const host::Cabinet& cabinet) {
    Json object = Json::object();
    for (const auto& [key, value] : cabinet.Entries()) {
        std::visit(
            [&, &key = key](const auto& v) {
                using T = std::decay_t<decltype(v)>;
                if constexpr (std::is_same_v<T, host::ByteString>)
                    object[key] = Json{{"$bytes", EncodeBase64(v.bytes)}};
                else if constexpr (std::is_same_v<T, host::CabinetBox>)
                    object[key] = ToJson(v.Get());
                else if constexpr (!std::is_same_v<T, host::Pointer>)
                    object[key] = v;
            },
            value);
    }
    return object;
}

[[noreturn]] void Refuse(const std::string& path, const std::string& why) {
    throw host::HostError(host::kErrorDamaged, "not a Tessera cabinet: " + why + (path.empty() ? "" : " at " + path));
}

host::Cabinet FromJson(const Json& object, const std::string& path, int depth);

host::CabinetValue ValueFromJson(const Json& value, const std::string& path, int depth) {
    switch (value.type()) {
        case Json::value_t::boolean:
            return value.get<bool>();
        case Json::value_t::number_integer:
        case Json::value_t::number_unsigned: {
            const auto n = value.get<std::int64_t>();
            if (value.is_number_unsigned() && value.get<std::uint64_t>() > std::uint64_t{INT32_MAX})
                Refuse(path, "an integer beyond 32 bits");
            if (n < std::numeric_limits<std::int32_t>::min() || n > std::numeric_limits<std::int32_t>::max())
                Refuse(path, "an integer beyond 32 bits");
            return static_cast<std::int32_t>(n);
        }
        case Json::value_t::number_float:
            return value.get<double>();
        case Json::value_t::string:
            return value.get<std::string>();
        case Json::value_t::object:
            if (value.size() == 1 && value.contains("$bytes")) {
                std::string bytes;
                if (!value["$bytes"].is_string() || !DecodeBase64(value["$bytes"].get<std::string>(), bytes))
                    Refuse(path, "a byte string that is not base64");
                return host::ByteString{bytes};
            }
            return host::CabinetBox(FromJson(value, path, depth + 1));
        default:
            Refuse(path, std::string("a value of type ") + value.type_name());
    }
}

host::Cabinet FromJson(const Json& object, const std::string& path, int depth) {
    if (!object.is_object()) Refuse(path, "a cabinet that is not a JSON object");
    if (depth > kMaxDepth) Refuse(path, "cabinets nested too deep");
    host::Cabinet cabinet;
    for (const auto& [key, value] : object.items()) {
        if (cabinet.Has(key)) Refuse(path + "/" + key, "a key given twice");
        cabinet.Put(key, ValueFromJson(value, path + "/" + key, depth));
    }
    return cabinet;
}

}  // namespace

std::string JsonCabinetStreams::WriteStream(const host::Cabinet& cabinet) {
    try {
        return ToJson(cabinet).dump(2) + "\n";
    } catch (const Json::exception& e) {
        // JSON holds only UTF-8 texts; bytes belong in a byte string.
        throw host::HostError(host::kErrorBadArgument, std::string("the cabinet cannot be written: ") + e.what());
    }
}

host::Cabinet JsonCabinetStreams::ReadStream(const std::string& stream) {
    Json json;
    try {
        // The parser's callback bounds the depth, so deep nesting cannot exhaust
        // the stack, and sees keys given twice, which the parser would merge.
        std::vector<std::set<std::string>> keys;
        json = Json::parse(stream, [&keys](int depth, Json::parse_event_t event, Json& parsed) {
            if (depth > kMaxDepth) throw host::HostError(host::kErrorDamaged, "not a Tessera cabinet: nested too deep");
            if (event == Json::parse_event_t::object_start) keys.emplace_back();
            if (event == Json::parse_event_t::object_end && !keys.empty()) keys.pop_back();
            if (event == Json::parse_event_t::key && !keys.empty() &&
                !keys.back().insert(parsed.get<std::string>()).second)
                throw host::HostError(host::kErrorDamaged,
                                      "not a Tessera cabinet: a key given twice at /" + parsed.get<std::string>());
            return true;
        });
    } catch (const Json::exception& e) {
        throw host::HostError(host::kErrorDamaged, std::string("not a Tessera cabinet: ") + e.what());
    }
    return FromJson(json, "", 0);
}

}  // namespace tessera::cabinet
