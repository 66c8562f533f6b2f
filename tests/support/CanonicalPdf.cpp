#include "support/CanonicalPdf.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>

#include <functional>
#include <map>
#include <set>

namespace tessera::test {
namespace {

// Back links and the page tree say nothing the forward links do not.
const std::set<std::string> kSkipped = {"/Parent", "/Prev", "/Last", "/P", "/Length"};
constexpr int kDeepest = 400;

class Canon {
public:
    explicit Canon(const std::string& file) {
        pdf_.processFile(file.c_str());
        int index = 0;
        for (const QPDFObjectHandle& page : pdf_.getAllPages()) pages_[page.getObjGen()] = index++;
    }

    std::string Text() {
        Direct(pdf_.getTrailer().getKey("/Info"), 0);
        text_ += "\ncatalog ";
        Direct(pdf_.getRoot(), 0);
        for (QPDFObjectHandle page : pdf_.getAllPages()) {
            text_ += "\npage ";
            Direct(page, 0);
        }
        return text_;
    }

private:
    void Value(QPDFObjectHandle object, int depth) {
        if (!object.isIndirect()) return Direct(object, depth);
        const auto page = pages_.find(object.getObjGen());
        if (page != pages_.end()) {
            text_ += "page#" + std::to_string(page->second);
        } else if (object.isPagesObject()) {
            text_ += "pages";
        } else if (!path_.insert(object.getObjGen()).second) {
            text_ += "cycle";
        } else {
            Direct(object, depth);
            path_.erase(object.getObjGen());
        }
    }

    void Direct(QPDFObjectHandle object, int depth) {
        if (depth > kDeepest) {
            text_ += "deep";
        } else if (object.isStream()) {
            Stream(object, depth);
        } else if (object.isDictionary()) {
            text_ += "<<";
            for (const std::string& key : object.getKeys()) {
                if (kSkipped.count(key) || key == "/Pages" || object.getKey(key).isNull()) continue;
                text_ += key + " ";
                Value(object.getKey(key), depth + 1);
                text_ += " ";
            }
            text_ += ">>";
        } else if (object.isArray()) {
            text_ += "[";
            for (const QPDFObjectHandle& item : object.aitems()) {
                Value(item, depth + 1);
                text_ += " ";
            }
            text_ += "]";
        } else {
            text_ += object.unparseResolved();
        }
    }

    // A stream by its dictionary and its data, decoded where qpdf decodes
    // all but images: writers may compress or not.
    void Stream(QPDFObjectHandle stream, int depth) {
        std::shared_ptr<Buffer> data;
        QPDFObjectHandle dict = stream.getDict().shallowCopy();
        try {
            data = stream.getStreamData(qpdf_dl_generalized);
            dict.removeKey("/Filter");
            dict.removeKey("/DecodeParms");
        } catch (const std::exception&) {
            data = stream.getRawStreamData();
        }
        Direct(dict, depth);
        const std::string bytes =
            data->getSize() ? std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()) : "";
        text_ += " stream#" + std::to_string(std::hash<std::string>()(bytes));
    }

    QPDF pdf_;
    std::map<QPDFObjGen, int> pages_;
    std::set<QPDFObjGen> path_;
    std::string text_;
};

}  // namespace

std::string CanonicalPdf(const std::string& file) { return Canon(file).Text(); }

}  // namespace tessera::test
