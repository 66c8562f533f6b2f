#pragma once
// "Range of Pages": one plain range of an output document, its first and
// last page, parity, order and watermark.
#include <cstdint>
#include <string>

#include "access/DocumentHandle.h"
#include "model/PageRange.h"
#include "ui/Dialog.h"

namespace tessera {

class PageRangeDialog : public Dialog {
public:
    // A new range; a document over nothing means there is no input document
    // (no bookmarks, no upper bound on the pages). `lastWatermark`, where
    // given, is the text a new range starts with, and takes the accepted one.
    PageRangeDialog(const DocumentHandle& document, int pageCount, std::string* lastWatermark = nullptr);
    PageRangeDialog(const DocumentHandle& document, int pageCount, const PageRange& existing,
                    std::string* lastWatermark = nullptr);
    // Valid after Accept() returned true.
    const PageRange& Result() const { return range_; }

    std::string Caption() const override { return "Range of Pages"; }
    std::vector<ControlSpec> Controls() const override;
    std::vector<ControlId> AlignedGroups() const override;
    void Open(DialogView& view) override;
    void Changed(ControlId id) override;
    bool Accept() override;

private:
    // What the controls hold; page numbers count from 1, 0 for an edit
    // that holds no number.
    struct Fields {
        std::int64_t start = 1, last = 1, count = 1;
        bool even = true, odd = true, reverse = false, watermark = false, behind = false;
        std::string text;
        int transparency = 50;
    };
    Fields Read() const;
    void Write(const Fields& fields);
    void StartChanged();
    void LastChanged();
    void CountChanged();
    void ApplyOkRule();
    void ApplyWatermarkEnabling();
    void ShowTransparency(int percent);
    void FromBookmark(bool start);
    PageRange Build(const Fields& fields) const;

    const DocumentHandle& document_;
    int pageCount_;
    Fields initial_;
    PageRange range_;  // the edited one, then the result
    std::string* lastWatermark_;
    DialogView* view_ = nullptr;
};

}  // namespace tessera
