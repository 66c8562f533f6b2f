// The JSON cabinet reader on any text, then the profile and sequence readers
// on whatever it accepts: a cabinet read must write back and read the same.
#include <cstdlib>

#include "FuzzTarget.h"
#include "cabinet/JsonCabinetStreams.h"
#include "host/BatchServices.h"
#include "host/HostError.h"
#include "model/ProfileCabinet.h"

namespace tessera::fuzz {
namespace {

void LoadProfile(const host::Cabinet* cabinet) {
    if (!cabinet) return;
    SplitSettings settings;
    static_cast<void>(LoadSettingsFromCabinet(settings, *cabinet));
}

}  // namespace
}  // namespace tessera::fuzz

TESSERA_FUZZ_TARGET(cabinet) {
    using namespace tessera;
    cabinet::JsonCabinetStreams streams;
    host::Cabinet read;
    try {
        read = streams.ReadStream(std::string(fuzz::Bytes(data, size)));
    } catch (const host::HostError&) {
        return 0;
    }
    if (!(streams.ReadStream(streams.WriteStream(read)) == read)) std::abort();
    fuzz::LoadProfile(&read);
    if (const host::Cabinet* commands = read.GetCabinet("Commands"))
        for (int i = 0; const host::Cabinet* command = commands->GetCabinet(std::to_string(i)); ++i)
            fuzz::LoadProfile(command->GetCabinet(host::kParams));
    return 0;
}
