#include "support/TestHost.h"

namespace tessera::test {

std::string DataFile(const std::string& name) {
    return name.find('/') == std::string::npos ? std::string(TESSERA_TEST_DATA) + "/" + name : name;
}

TestHost::TestHost() : runtime(viewer, folder / "config/Moraine/Tessera.conf") { runtime.Install(); }

host::DocId TestHost::OpenActive(const std::string& name, const std::string& password) {
    viewer.active = runtime.Store().Open(DataFile(name), password);
    return viewer.active;
}

}  // namespace tessera::test
