#include "pdf/writing/MetadataCarrier.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDFCryptoProvider.hh>
#include <qpdf/QUtil.hh>

#include <memory>
#include <optional>
#include <set>
#include <string_view>
#include <vector>

#include "pdf/writing/XmpPacket.h"

namespace tessera::pdf {
namespace {

using Handle = QPDFObjectHandle;

constexpr std::string_view kDc = "http://purl.org/dc/elements/1.1/";
constexpr std::string_view kXmp = "http://ns.adobe.com/xap/1.0/";
constexpr std::string_view kMm = "http://ns.adobe.com/xap/1.0/mm/";
constexpr std::string_view kPdf = "http://ns.adobe.com/pdf/1.3/";
constexpr std::string_view kPdfa = "http://www.aiim.org/pdfa/ns/id/";
constexpr std::string_view kPdfua = "http://www.aiim.org/pdfua/ns/id/";

std::string Digits(const std::string& text, std::size_t from, std::size_t count) {
    const std::string part = text.substr(std::min(from, text.size()), count);
    return part.size() == count && part.find_first_not_of("0123456789") == std::string::npos ? part : "";
}

// A date of the information dictionary (D:YYYYMMDDHHmmSS+HH'mm') as XMP
// writes dates; as much as the date says, empty when it is none.
std::string XmpDate(std::string date) {
    if (date.rfind("D:", 0) == 0) date.erase(0, 2);
    std::string xmp = Digits(date, 0, 4);
    if (xmp.empty()) return xmp;
    const std::string month = Digits(date, 4, 2), day = Digits(date, 6, 2);
    if (month.empty()) return xmp;
    xmp += "-" + month;
    if (day.empty()) return xmp;
    xmp += "-" + day;
    const std::string hour = Digits(date, 8, 2), minute = Digits(date, 10, 2);
    if (hour.empty() || minute.empty()) return xmp;
    const std::string second = Digits(date, 12, 2);
    xmp += "T" + hour + ":" + minute + (second.empty() ? "" : ":" + second);
    const std::size_t zone = second.empty() ? 12 : 14;
    if (zone < date.size() && date[zone] == 'Z') return xmp + "Z";
    const std::string zh = Digits(date, zone + 1, 2), zm = Digits(date, zone + 4, 2);
    if (zone < date.size() && (date[zone] == '+' || date[zone] == '-') && !zh.empty())
        xmp += std::string(1, date[zone]) + zh + ":" + (zm.empty() ? "00" : zm);
    return xmp;
}

std::string Info(QPDF& q, const char* key) {
    Handle value = q.getTrailer().getKey("/Info").getKeyIfDict(key);
    return value.isString() ? value.getUTF8Value() : "";
}

std::string Uuid(const std::string& basis, bool deterministic) {
    std::string hex;
    if (deterministic) {
        const std::shared_ptr<QPDFCryptoImpl> md5 = QPDFCryptoProvider::getImpl();
        md5->MD5_init();
        md5->MD5_update(reinterpret_cast<const unsigned char*>(basis.data()), basis.size());
        md5->MD5_finalize();
        QPDFCryptoImpl::MD5_Digest digest;
        md5->MD5_digest(digest);
        hex = QUtil::hex_encode(std::string(reinterpret_cast<const char*>(digest), sizeof digest));
    } else {
        std::string bytes(16, '\0');
        QUtil::initializeWithRandomBytes(reinterpret_cast<unsigned char*>(bytes.data()), bytes.size());
        hex = QUtil::hex_encode(bytes);
    }
    // Version 3 (from a name) or 4 (random), variant 1.
    hex[12] = deterministic ? '3' : '4';
    hex[16] = "89ab"[std::stoi(hex.substr(16, 1), nullptr, 16) & 3];
    return "uuid:" + hex.substr(0, 8) + "-" + hex.substr(8, 4) + "-" + hex.substr(12, 4) + "-" + hex.substr(16, 4) +
           "-" + hex.substr(20, 12);
}

// What the output is made of, for ids that repeat with the run.
std::string Basis(PdfDocument& out, const std::string& xml) {
    std::string basis = xml;
    for (const Handle& page : out.Qpdf().getAllPages())
        if (const auto origin = out.Origins().find(page.getObjGen()); origin != out.Origins().end())
            basis += " " + std::to_string(origin->second.page);
    return basis;
}

bool RunsJavaScript(Handle action, int depth) {
    if (!action.isDictionary() || depth > 16) return false;
    if (action.getKey("/S").isNameAndEquals("/JavaScript")) return true;
    Handle next = action.getKey("/Next");
    for (const Handle& a : next.isArray() ? next.getArrayAsVector() : std::vector<Handle>{next})
        if (RunsJavaScript(a, depth + 1)) return true;
    return false;
}

bool TriggersRunJavaScript(Handle triggers) {
    if (triggers.isDictionary())
        for (auto& [trigger, action] : triggers.ditems())
            if (RunsJavaScript(action, 0)) return true;
    return false;
}

bool AnyRunsJavaScript(Handle holder) {
    return holder.isDictionary() &&
           (RunsJavaScript(holder.getKey("/A"), 0) || TriggersRunJavaScript(holder.getKey("/AA")));
}

bool OutlineRunsJavaScript(QPDF& q) {
    std::vector<Handle> items{q.getRoot().getKey("/Outlines").getKeyIfDict("/First")};
    std::set<QPDFObjGen> seen;
    while (!items.empty()) {
        Handle item = items.back();
        items.pop_back();
        if (!item.isDictionary() || !item.isIndirect() || !seen.insert(item.getObjGen()).second) continue;
        if (AnyRunsJavaScript(item)) return true;
        items.push_back(item.getKey("/Next"));
        items.push_back(item.getKey("/First"));
    }
    return false;
}

bool KeepsJavaScript(QPDF& q) {
    Handle root = q.getRoot();
    if (RunsJavaScript(root.getKey("/OpenAction"), 0) || TriggersRunJavaScript(root.getKey("/AA"))) return true;
    for (Handle page : q.getAllPages()) {
        if (AnyRunsJavaScript(page)) return true;
        Handle annots = page.getKey("/Annots");
        if (annots.isArray())
            for (const Handle& annot : annots.aitems())
                if (AnyRunsJavaScript(annot)) return true;
    }
    return OutlineRunsJavaScript(q);
}

// Why out can no longer be the PDF/A file it says it is; empty when it can.
std::string BrokenConformance(PdfDocument& out, const std::string& part) {
    std::string why;
    const auto add = [&why](const char* reason) { why += (why.empty() ? "" : ", ") + std::string(reason); };
    if (out.security) add("encrypted");
    if (part == "1" && out.transparencyAdded) add("a watermark with transparency");
    if (KeepsJavaScript(out.Qpdf())) add("JavaScript actions kept");
    return why;
}

void DropUntrueClaims(PdfDocument& out, XmpPacket& xmp) {
    std::vector<std::string> dropped;
    if (const auto part = xmp.Text(kPdfa, "part")) {
        if (const std::string why = BrokenConformance(out, *part); !why.empty()) {
            dropped.push_back("PDF/A-" + *part + xmp.Text(kPdfa, "conformance").value_or("") + ": " + why);
            for (const char* name : {"part", "conformance", "amd", "rev", "corr"}) xmp.Remove(kPdfa, name);
            out.Qpdf().getRoot().removeKey("/OutputIntents");
        }
    }
    if (xmp.Text(kPdfua, "part") && !out.Qpdf().getRoot().hasKey("/StructTreeRoot")) {
        dropped.push_back("PDF/UA: the tags were not carried");
        xmp.Remove(kPdfua, "part");
    }
    out.droppedClaims.clear();
    for (const std::string& d : dropped) out.droppedClaims += (out.droppedClaims.empty() ? "" : "; ") + d;
}

void MirrorInfo(QPDF& q, XmpPacket& xmp) {
    const auto set = [&](const char* key, auto setter) {
        if (const std::string value = Info(q, key); !value.empty()) setter(value);
    };
    set("/Title", [&](const std::string& v) { xmp.SetLangAlt(kDc, "dc", "title", v); });
    set("/Subject", [&](const std::string& v) { xmp.SetLangAlt(kDc, "dc", "description", v); });
    set("/Author", [&](const std::string& v) { xmp.SetSeq(kDc, "dc", "creator", v); });
    set("/Keywords", [&](const std::string& v) { xmp.SetText(kPdf, "pdf", "Keywords", v); });
    set("/Producer", [&](const std::string& v) { xmp.SetText(kPdf, "pdf", "Producer", v); });
    set("/Creator", [&](const std::string& v) { xmp.SetText(kXmp, "xmp", "CreatorTool", v); });
    set("/CreationDate", [&](const std::string& v) { xmp.SetText(kXmp, "xmp", "CreateDate", XmpDate(v)); });
    set("/ModDate", [&](const std::string& v) {
        xmp.SetText(kXmp, "xmp", "ModifyDate", XmpDate(v));
        xmp.SetText(kXmp, "xmp", "MetadataDate", XmpDate(v));
    });
}

// The packet's text, or none when its stream cannot be read.
std::optional<std::string> PacketText(Handle stream) {
    try {
        const std::shared_ptr<Buffer> data = stream.getStreamData(qpdf_dl_generalized);
        return std::string(reinterpret_cast<const char*>(data->getBuffer()), data->getSize());
    } catch (const std::exception&) {
        return std::nullopt;  // left as the source had it
    }
}

}  // namespace

void UpdateMetadata(PdfDocument& out, bool deterministic) {
    Handle stream = out.Qpdf().getRoot().getKey("/Metadata");
    if (!stream.isStream()) return;
    const std::optional<std::string> text = PacketText(stream);
    if (!text) return;
    XmpPacket xmp(*text);
    if (!xmp.Valid()) return;
    if (out.xmpInstanceId.empty()) {
        const std::string basis = Basis(out, *text);
        out.xmpInstanceId = Uuid(basis + " instance", deterministic);
        out.xmpDocumentId = Uuid(basis + " document", deterministic);
    }
    xmp.SetText(kMm, "xmpMM", "InstanceID", out.xmpInstanceId);
    xmp.SetText(kMm, "xmpMM", "DocumentID", out.xmpDocumentId);
    MirrorInfo(out.Qpdf(), xmp);
    DropUntrueClaims(out, xmp);
    stream.replaceStreamData(xmp.Xml(), Handle::newNull(), Handle::newNull());
}

}  // namespace tessera::pdf
