#include "support/TestHost.h"

namespace tessera::test {

std::string DataFile(const std::string& name) {
    return name.find('/') == std::string::npos ? std::string(TESSERA_TEST_DATA) + "/" + name : name;
}

TestHost::TestHost() : runtime(viewer, windows, commandLine, folder / "config/Moraine") {}

host::DocId TestHost::OpenActive(const std::string& name, const std::string& password) {
    const host::DocId doc = runtime.Store().Open(DataFile(name), password);
    viewer.SetActiveDocument(doc);
    return doc;
}

}  // namespace tessera::test
