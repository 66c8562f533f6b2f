#pragma once
// One fuzz target per file. Built for libFuzzer, TESSERA_FUZZ_TARGET is its
// entry point; in the normal build the targets register under their names with
// the replay program, which runs the committed seeds and crash inputs as tests.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tessera::fuzz {

using Entry = int (*)(const std::uint8_t* data, std::size_t size);

struct Registration {
    Registration(const char* name, Entry entry);
};

inline std::string_view Bytes(const std::uint8_t* data, std::size_t size) {
    return {reinterpret_cast<const char*>(data), size};
}

}  // namespace tessera::fuzz

#ifdef TESSERA_LIBFUZZER
#define TESSERA_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
#else
#define TESSERA_FUZZ_TARGET(name)                                                   \
    static int name##Fuzz(const std::uint8_t* data, std::size_t size);              \
    static const tessera::fuzz::Registration name##Registration(#name, name##Fuzz); \
    static int name##Fuzz(const std::uint8_t* data, std::size_t size)
#endif
