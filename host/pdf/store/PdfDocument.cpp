#include "pdf/store/PdfDocument.h"

#include <algorithm>

#include "host/HostError.h"
#include "pdf/store/SerializedObjects.h"

namespace tessera::pdf {

namespace {

// The index the map holds for key, after giving it next when it had none.
template <class Map, class Key>
std::uint32_t IndexOf(Map& map, const Key& key, std::uint32_t next) {
    return map.try_emplace(key, next).first->second;
}

}  // namespace

PdfDocument::PdfDocument(std::unique_ptr<QPDF> qpdf, std::string path, std::string password)
    : qpdf_(std::move(qpdf)), path_(std::move(path)), password_(std::move(password)) {}

PdfDocument::~PdfDocument() = default;

std::uint32_t PdfDocument::Remember(QPDFObjectHandle object) {
    if (!object.isInitialized() || object.isNull()) return 0;
    const auto next = static_cast<std::uint32_t>(objects_.size());
    // qpdf hands out a direct object inside its parent as a handle on one
    // shared value each time: that value tells the object apart.
    const std::uint32_t index = object.isIndirect() ? IndexOf(indirect_, object.getObjGen(), next)
                                                    : IndexOf(direct_, object.getObjectPtr(), next);
    if (index == next) objects_.push_back(object);
    return index;
}

std::uint32_t PdfDocument::RememberMade(std::uint32_t origin, const std::string& role,
                                        const std::function<QPDFObjectHandle()>& make) {
    const auto found = made_.find({origin, role});
    if (found != made_.end()) return found->second;
    const std::uint32_t index = Remember(make());
    made_.emplace(std::pair{origin, role}, index);
    return index;
}

QPDFObjectHandle PdfDocument::Object(std::uint32_t index) const {
    if (index >= objects_.size()) throw host::HostError(host::kErrorBadArgument, "unknown object reference");
    return objects_[index];
}

void PdfDocument::SetTextReader(std::unique_ptr<MupdfDocument> reader, std::vector<MupdfDocument::ObjectId> pages) {
    textReader_ = std::move(reader);
    textPages_ = std::move(pages);
}

int PdfDocument::PageCount() {
    if (textPages_ && !pagesChecked_) return static_cast<int>(textPages_->size());
    return static_cast<int>(Pages().size());
}

const std::vector<QPDFObjectHandle>& PdfDocument::Pages() {
    const auto& pages = qpdf_->getAllPages();
    if (textPages_ && !pagesChecked_) {
        const auto samePage = [](const QPDFObjectHandle& page, const MupdfDocument::ObjectId& id) {
            return page.getObjectID() == id.number && page.getGeneration() == id.generation;
        };
        const bool same = std::equal(pages.begin(), pages.end(), textPages_->begin(), textPages_->end(), samePage);
        if (!same)
            throw host::HostError(host::kErrorDamaged, "the pages of " + path_ +
                                                           " cannot be told apart: the page reader and the text "
                                                           "reader find different pages in it");
        pagesChecked_ = true;
    }
    return pages;
}

bool PdfDocument::UsesObjectStreams() {
    if (!objectStreams_) {
        const auto xref = qpdf_->getXRefTable();
        const auto inStream = [](const auto& entry) { return entry.second.getType() == 2; };
        objectStreams_ = std::any_of(xref.begin(), xref.end(), inStream);
    }
    return *objectStreams_;
}

QPDFObjectHandle PdfDocument::Page(int index) {
    const auto& pages = Pages();
    if (index < 0 || static_cast<std::size_t>(index) >= pages.size())
        throw host::HostError(host::kErrorPageRange, "page " + std::to_string(index + 1) +
                                                         " is out of range: the document has " +
                                                         std::to_string(pages.size()) + " pages");
    return pages[static_cast<std::size_t>(index)];
}

std::optional<int> PdfDocument::PageIndexOf(const QPDFObjectHandle& page) {
    if (!page.isIndirect()) return std::nullopt;
    if (pageIndex_.empty()) {
        const auto& pages = Pages();
        for (std::size_t i = 0; i < pages.size(); ++i) pageIndex_.emplace(pages[i].getObjGen(), static_cast<int>(i));
    }
    const auto it = pageIndex_.find(page.getObjGen());
    if (it == pageIndex_.end()) return std::nullopt;
    return it->second;
}

QPDFObjectHandle PdfDocument::NamedDestination(const std::string& utf8Name) {
    if (!namedDestinations_) namedDestinations_ = NamedDestinationTable::Read(*qpdf_, path_, password_);
    return namedDestinations_->Find(*qpdf_, utf8Name);
}

}  // namespace tessera::pdf
