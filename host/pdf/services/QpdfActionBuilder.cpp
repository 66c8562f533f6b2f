#include "pdf/services/QpdfActionBuilder.h"

#include <filesystem>

#include "host/HostError.h"
#include "pdf/file/QpdfGuard.h"
#include "pdf/store/Destination.h"

namespace tessera::pdf {
namespace {

namespace fs = std::filesystem;

fs::path Absolute(const std::string& path) { return fs::absolute(fs::path(path)).lexically_normal(); }

// Viewers read /UF as text; /F carries the same bytes for older readers.
QPDFObjectHandle FileSpecDictionary(const std::string& path) {
    QPDFObjectHandle spec = QPDFObjectHandle::newDictionary();
    spec.replaceKey("/Type", QPDFObjectHandle::newName("/Filespec"));
    spec.replaceKey("/F", QPDFObjectHandle::newString(path));
    spec.replaceKey("/UF", QPDFObjectHandle::newUnicodeString(path));
    return spec;
}

// The action's destination name, made anew in the output with its bytes.
QPDFObjectHandle SameName(QPDFObjectHandle action) {
    QPDFObjectHandle d = action.getKeyIfDict("/D");
    if (d.isName()) return QPDFObjectHandle::newName(d.getName());
    if (d.isString()) return QPDFObjectHandle::newString(d.getStringValue());
    throw host::HostError(host::kErrorBadArgument, "the action names no destination");
}

}  // namespace

host::ActionRef QpdfActionBuilder::Make(host::DocId doc, const char* type, const char* fileKey,
                                        const QPDFObjectHandle& file, const QPDFObjectHandle& dest) {
    QPDF& q = store_.Get(doc).Qpdf();
    QPDFObjectHandle action = QPDFObjectHandle::newDictionary();
    action.replaceKey("/S", QPDFObjectHandle::newName(type));
    if (fileKey) action.replaceKey(fileKey, file);
    action.replaceKey("/D", dest);
    return store_.RefTo(doc, q.makeIndirectObject(action));
}

host::ActionRef QpdfActionBuilder::NewGoTo(host::DocId doc, int page, const host::Destination& view) {
    return QpdfGuard([&] { return Make(doc, "/GoTo", nullptr, {}, ArrayOf(store_.Get(doc).Page(page), view)); });
}

host::ActionRef QpdfActionBuilder::NewRemoteGoTo(host::DocId doc, host::FileSpecRef file,
                                                 const host::Destination& dest) {
    return QpdfGuard([&] {
        return Make(doc, "/GoToR", "/F", store_.Resolve(file), ArrayOf(QPDFObjectHandle::newInteger(dest.page), dest));
    });
}

host::ActionRef QpdfActionBuilder::NewRemoteNamedGoTo(host::DocId doc, host::FileSpecRef file, host::ActionRef goTo) {
    return QpdfGuard([&] { return Make(doc, "/GoToR", "/F", store_.Resolve(file), SameName(store_.Resolve(goTo))); });
}

// Every output of a run asks for the paths to every other, each as many
// times as bookmarks lead there: worked out once a run for each folder
// outputs are in.
const std::string& QpdfActionBuilder::SpecOf(const std::string& path, const std::string& relativeTo) {
    const std::string from = relativeTo.empty() ? std::string() : fs::path(relativeTo).parent_path().string() + '/';
    const auto known = specs_.find({path, from});
    if (known != specs_.end()) return known->second;
    // Outputs are reached from each other through the folders the run
    // made; any other file by the path the system resolves, as
    // "link/.." need not lead back where "link" started.
    fs::path target = relativeTo.empty() ? fs::weakly_canonical(fs::absolute(path)) : Absolute(path);
    if (!relativeTo.empty()) target = target.lexically_relative(Absolute(from));
    if (target.empty()) throw host::HostError(host::kErrorBadArgument, "no relative path to " + path);
    return specs_.emplace(std::pair{path, from}, target.generic_string()).first->second;
}

host::FileSpecRef QpdfActionBuilder::NewFileSpec(host::DocId doc, const std::string& path,
                                                 const std::string& relativeTo) {
    return QpdfGuard([&] {
        // Thousands of links lead into a few files: one /Filespec dictionary
        // per file, and its path worked out once (it asks the file system).
        return store_.RefToMade({doc, 0}, "/Filespec for " + path + '\n' + relativeTo, [&] {
            const std::string spec = SpecOf(path, relativeTo);
            QPDF& q = store_.Get(doc).Qpdf();
            return store_.Resolve(store_.RefToMade({doc, 0}, "/Filespec " + spec,
                                                   [&] { return q.makeIndirectObject(FileSpecDictionary(spec)); }));
        });
    });
}

host::ActionRef QpdfActionBuilder::CopyAction(host::DocId doc, host::ActionRef action) {
    return QpdfGuard([&] {
        QPDF& source = store_.Get(action.doc).Qpdf();
        QPDFObjectHandle object = store_.Resolve(action);
        // qpdf copies only indirect objects across documents.
        if (!object.isIndirect()) object = source.makeIndirectObject(object.shallowCopy());
        return store_.RefTo(doc, store_.Get(doc).Qpdf().copyForeignObject(object));
    });
}

}  // namespace tessera::pdf
