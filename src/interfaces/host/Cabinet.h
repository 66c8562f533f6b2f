#pragma once
// The host's cabinet: a typed key-value tree whose keys keep their order.
// Values are booleans, integers, reals, texts, byte strings, pointers (never
// written to a stream) and nested cabinets. A copy is deep.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <variant>
#include <vector>

namespace tessera::host {

class Cabinet;

struct ByteString {
    std::string bytes;
    friend bool operator==(const ByteString&, const ByteString&) = default;
};

struct Pointer {
    void* address = nullptr;
    friend bool operator==(const Pointer&, const Pointer&) = default;
};

// A nested cabinet held by value.
class CabinetBox {
public:
    explicit CabinetBox(const Cabinet& cabinet);
    CabinetBox(const CabinetBox& other);
    CabinetBox& operator=(const CabinetBox& other);
    CabinetBox(CabinetBox&&) noexcept = default;
    CabinetBox& operator=(CabinetBox&&) noexcept = default;
    ~CabinetBox();
    const Cabinet& Get() const { return *cabinet_; }
    Cabinet& Get() { return *cabinet_; }
    friend bool operator==(const CabinetBox& a, const CabinetBox& b);

private:
    std::unique_ptr<Cabinet> cabinet_;
};

using CabinetValue = std::variant<bool, std::int32_t, double, std::string, ByteString, Pointer, CabinetBox>;

class Cabinet {
public:
    // Puts a value; a key already there keeps its place and takes the new value.
    void Put(const std::string& key, CabinetValue value) {
        for (auto& entry : entries_)
            if (entry.first == key) {
                entry.second = std::move(value);
                return;
            }
        entries_.emplace_back(key, std::move(value));
    }
    void PutCabinet(const std::string& key, const Cabinet& cabinet) { Put(key, CabinetBox(cabinet)); }

    const CabinetValue* Find(const std::string& key) const {
        for (const auto& entry : entries_)
            if (entry.first == key) return &entry.second;
        return nullptr;
    }
    CabinetValue* Find(const std::string& key) {
        return const_cast<CabinetValue*>(static_cast<const Cabinet&>(*this).Find(key));
    }
    bool Has(const std::string& key) const { return Find(key) != nullptr; }
    // The value when it is there and of the type asked for.
    template <class T>
    std::optional<T> Get(const std::string& key) const {
        const CabinetValue* v = Find(key);
        if (v && std::holds_alternative<T>(*v)) return std::get<T>(*v);
        return std::nullopt;
    }
    const Cabinet* GetCabinet(const std::string& key) const {
        const CabinetValue* v = Find(key);
        return v && std::holds_alternative<CabinetBox>(*v) ? &std::get<CabinetBox>(*v).Get() : nullptr;
    }
    void Remove(const std::string& key) {
        std::erase_if(entries_, [&](const auto& entry) { return entry.first == key; });
    }
    void Clear() { entries_.clear(); }
    // The clean-up of empty values, through every nested cabinet: empty texts,
    // empty byte strings and cabinets left empty go; a cabinet that still
    // holds anything stays.
    void DropEmptyValues();
    std::size_t Size() const { return entries_.size(); }
    const std::vector<std::pair<std::string, CabinetValue>>& Entries() const { return entries_; }

    friend bool operator==(const Cabinet&, const Cabinet&) = default;

private:
    std::vector<std::pair<std::string, CabinetValue>> entries_;
};

inline CabinetBox::CabinetBox(const Cabinet& cabinet) : cabinet_(std::make_unique<Cabinet>(cabinet)) {}
inline CabinetBox::CabinetBox(const CabinetBox& other) : cabinet_(std::make_unique<Cabinet>(*other.cabinet_)) {}
inline CabinetBox& CabinetBox::operator=(const CabinetBox& other) {
    cabinet_ = std::make_unique<Cabinet>(*other.cabinet_);
    return *this;
}
inline CabinetBox::~CabinetBox() = default;
inline bool operator==(const CabinetBox& a, const CabinetBox& b) { return *a.cabinet_ == *b.cabinet_; }

inline void Cabinet::DropEmptyValues() {
    std::erase_if(entries_, [](auto& entry) {
        if (auto* text = std::get_if<std::string>(&entry.second)) return text->empty();
        if (auto* bytes = std::get_if<ByteString>(&entry.second)) return bytes->bytes.empty();
        if (auto* box = std::get_if<CabinetBox>(&entry.second)) {
            box->Get().DropEmptyValues();
            return box->Get().Size() == 0;
        }
        return false;
    });
}

// Writing and reading a cabinet's stream form ("AcroSupport" cabinet calls).
class CabinetServices {
public:
    virtual ~CabinetServices() = default;
    virtual std::string WriteStream(const Cabinet& cabinet) = 0;
    // HostError, saying where and why, for anything the writer would not have written.
    virtual Cabinet ReadStream(const std::string& stream) = 0;
};

}  // namespace tessera::host
