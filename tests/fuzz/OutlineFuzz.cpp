// Outline planning over an outline made from the input: six bytes an item
// (title, target, first child, next sibling, parent, count), its links free
// to point anywhere, loops and the outline root included. The document is
// written, opened through the host and split at its bookmarks.
#include <unistd.h>

#include <string>
#include <vector>

#include "FuzzTarget.h"
#include "engine/OutputPlanner.h"
#include "host/HostError.h"
#include "support/PdfFixture.h"
#include "support/TestHost.h"

namespace tessera::fuzz {
namespace {

constexpr int kPages = 6;
constexpr std::size_t kItemBytes = 6;

QPDFObjectHandle Target(test::PdfFixture& pdf, std::uint8_t kind) {
    const int page = kind % 8;
    if (page < kPages) return QPDFObjectHandle::newArray({pdf.Page(page), QPDFObjectHandle::newName("/Fit")});
    return page == kPages ? QPDFObjectHandle::newArray({QPDFObjectHandle::newInteger(kind)})
                          : QPDFObjectHandle::newString("nowhere");
}

std::string Outline(const std::uint8_t* data, std::size_t size, const std::string& path) {
    test::PdfFixture pdf(kPages);
    const std::size_t count = size / kItemBytes;
    std::vector<QPDFObjectHandle> items;
    for (std::size_t i = 0; i < count; ++i)
        items.push_back(pdf.Item(std::string(data[i * kItemBytes] % 5 + 1, 'A' + i % 26)));
    QPDFObjectHandle root = pdf.OutlineRoot();
    // An index past the items is the outline root, one further none at all.
    auto at = [&](std::uint8_t byte) {
        const std::size_t i = byte % (count + 2);
        return i < count ? items[i] : i == count ? root : QPDFObjectHandle::newNull();
    };
    for (std::size_t i = 0; i < count; ++i) {
        const std::uint8_t* b = data + i * kItemBytes;
        QPDFObjectHandle item = items[i];
        if (b[1] & 0x80) {
            QPDFObjectHandle action = QPDFObjectHandle::parse("<< /S /GoTo >>");
            action.replaceKey("/D", Target(pdf, b[1]));
            item.replaceKey("/A", action);
        } else {
            item.replaceKey("/Dest", Target(pdf, b[1]));
        }
        for (auto [key, byte] : {std::pair{"/First", b[2]}, {"/Next", b[3]}, {"/Parent", b[4]}}) {
            item.replaceKey(key, at(byte));
            if (std::string(key) == "/First") item.replaceKey("/Last", at(byte));
        }
        item.replaceKey("/Count", QPDFObjectHandle::newInteger(static_cast<std::int8_t>(b[5])));
    }
    if (count > 0) {
        root.replaceKey("/First", items.front());
        root.replaceKey("/Last", items.back());
    }
    pdf.Write(path);
    return path;
}

}  // namespace
}  // namespace tessera::fuzz

TESSERA_FUZZ_TARGET(outline) {
    using namespace tessera;
    if (size == 0) return 0;
    static test::TestHost host;
    static const std::string path = (host.folder / "outline.pdf");
    fuzz::Outline(data + 1, size - 1, path);
    const host::DocId doc = host.OpenActive(path);
    {
        const DocumentHandle source(doc, DocumentHandle::Ownership::Borrowed);
        SplitSettings settings;
        settings.SplitMode = SplitMethod::BookmarkLevels;
        settings.Output.StartBookmarkLevel = data[0] % 4 + 1;
        settings.Output.EndBookmarkLevel = settings.Output.StartBookmarkLevel + data[0] / 64;
        try {
            PlanOutputs(settings, source);
        } catch (const host::HostError&) {
        }
    }
    host.runtime.Store().Close(doc);
    host.viewer.alerts.clear();
    host.windows.messages.clear();
    return 0;
}
