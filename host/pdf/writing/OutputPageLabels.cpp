#include "pdf/writing/OutputPageLabels.h"

#include <qpdf/QPDFPageLabelDocumentHelper.hh>

#include <map>
#include <memory>
#include <vector>

namespace tessera::pdf {
namespace {

struct Label {
    std::string style, prefix;
    long long start = 1;
    bool Continues(const Label& previous) const {
        return style == previous.style && prefix == previous.prefix && start == previous.start + 1;
    }
};

Label Read(QPDFObjectHandle dict) {
    Label label;
    if (!dict.isDictionary()) return label;
    if (QPDFObjectHandle s = dict.getKey("/S"); s.isName()) label.style = s.getName();
    if (QPDFObjectHandle p = dict.getKey("/P"); p.isString()) label.prefix = p.getUTF8Value();
    if (QPDFObjectHandle st = dict.getKey("/St"); st.isInteger()) label.start = st.getIntValue();
    return label;
}

QPDFObjectHandle Write(const Label& label) {
    QPDFObjectHandle dict = QPDFObjectHandle::newDictionary();
    if (!label.style.empty()) dict.replaceKey("/S", QPDFObjectHandle::newName(label.style));
    if (!label.prefix.empty()) dict.replaceKey("/P", QPDFObjectHandle::newUnicodeString(label.prefix));
    if (label.start != 1) dict.replaceKey("/St", QPDFObjectHandle::newInteger(label.start));
    return dict;
}

}  // namespace

void CarryPageLabels(PdfDocument& out) {
    if (out.pageLabelsRemoved) return;
    std::map<PdfDocument*, std::unique_ptr<QPDFPageLabelDocumentHelper>> helpers;
    bool any = false;
    std::vector<Label> labels;
    for (const QPDFObjectHandle& page : out.Qpdf().getAllPages()) {
        const auto origin = out.Origins().find(page.getObjGen());
        Label label;
        if (origin != out.Origins().end()) {
            auto& helper = helpers[origin->second.source];
            if (!helper) helper = std::make_unique<QPDFPageLabelDocumentHelper>(origin->second.source->Qpdf());
            if (helper->hasPageLabels()) {
                label = Read(helper->getLabelForPage(origin->second.page));
                any = true;
            }
        }
        labels.push_back(label);
    }
    if (!any) return;
    std::vector<QPDFObjectHandle> nums;
    for (std::size_t i = 0; i < labels.size(); ++i) {
        if (i > 0 && labels[i].Continues(labels[i - 1])) continue;
        nums.push_back(QPDFObjectHandle::newInteger(static_cast<long long>(i)));
        nums.push_back(Write(labels[i]));
    }
    out.Qpdf().getRoot().replaceKey("/PageLabels",
                                    QPDFObjectHandle::newDictionary({{"/Nums", QPDFObjectHandle::newArray(nums)}}));
}

}  // namespace tessera::pdf
