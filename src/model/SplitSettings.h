#pragma once
// The settings of one split run: the method, the per-output options, security,
// naming, and the hand-made output list. The engine's only user-side input.
#include <cstdint>
#include <string>
#include <vector>

#include "host/PagePixelServices.h"
#include "host/Permissions.h"
#include "model/DroppedPage.h"
#include "model/OutputDocument.h"
#include "model/SplitMethodTable.h"
#include "model/TextQuery.h"

namespace tessera {

// The stored settings' choices (the split methods' are in SplitMethodTable.h,
// beside their rows). Each enumerator has the integer the settings
// store and profiles keep. A stored integer that names no enumerator is carried
// as it is: every enum here has std::int32_t as its underlying type, so it holds
// any stored value, and each use treats an unknown value as it always has (an
// unknown method keeps the output list as it is, an unknown naming mode adds
// nothing, an unknown prefix is no prefix); an unknown method or separator
// kind is refused by CheckSettings (model/SettingsCheck.h).
enum class SeparatorKind : std::int32_t {
    BlankPage = 0,
    BlankImagePage = 1,
    PageMatchingText = 2,
    ValueChange = 3,
    // A page showing a barcode or 2-D code (whose text matches the separator
    // query's pattern, when it has one); the code names the output after it.
    PageWithCode = 4,
    // A sheet of one colour (black, yellow...): most of it within a tolerance of the colour.
    ColouredSheet = 5,
};
// What a separator where a value changes compares from page to page: the
// text in the separator query's area, the query's match (its groups joined),
// the page label's prefix, or the page's size and orientation.
enum class ChangeKeyKind : std::int32_t { AreaText = 0, PatternMatch = 1, LabelPrefix = 2, PageSize = 3 };
enum class NameConstructionMode : std::int32_t {
    AddNumber = 0,
    AddLetter = 1,
    AddPageRanges = 2,
    AddPageLabel = 3,
    AddTextFromPage = 4,
    // The whole name comes from FilenameSettings::NameTemplate.
    UseTemplate = 5,
};
enum class AutoPrefix : std::int32_t { PrefixNone = 0, PrefixFilename = 1, PrefixTodaysDate = 2 };
// When a page is read by text recognition (OCR): where a text feature finds
// no words in the place it asks of a page (no words, or mostly characters
// the text layer cannot map), always in place of the text layer, or never.
enum class OcrMode : std::int32_t { Auto = 0, Always = 1, Never = 2 };

// Text recognition of pages that are pictures.
struct OcrSettings {
    OcrMode Mode = OcrMode::Auto;
    // Tesseract's language names joined by '+' ("eng+deu"); empty: English
    // and the user's language, where its data is installed.
    std::string Languages;
    // The resolution pages are drawn at for it; 0: 300 dpi.
    std::int32_t Dpi = 0;
    // A word read with less confidence (0 to 100) counts as unread.
    std::int32_t MinConfidence = 40;
    // Outputs get an invisible text layer of the words read on each page without one.
    bool Layer = false;

    friend bool operator==(const OcrSettings&, const OcrSettings&) = default;
};
// The resolutions --ocr-dpi takes besides 0.
inline constexpr std::int32_t kLeastOcrDpi = 70, kMostOcrDpi = 1200;

struct OutputSettings {
    bool bLinearize = false;
    bool bRemovePageLabels = false;
    bool bTransferBookmarks = false;
    bool bUpdateLinks = false;
    bool bCreateHTMLIndex = false;
    std::int32_t NumEqualPages = 1;
    std::int32_t StartBookmarkLevel = 1;
    std::int32_t EndBookmarkLevel = 1;
    SeparatorKind SeparatorType = SeparatorKind::BlankPage;
    TextQuery SeparatorQuery;
    std::int32_t BlankPageThreshold = 40;
    // Stamped on every range of every output that has no watermark of its
    // own, whatever the split method, unless its text is empty; given on the
    // command line and kept in profiles, never in the remembered settings.
    WatermarkStyle EveryRangeWatermark;
    // How many outputs are written at once, each by a process of its own;
    // 0: one per core. Given on the command line, never stored.
    std::int32_t Jobs = 0;
    // The separator where a value changes: what it compares; whether a page
    // without a value starts an output of its own; whether every page of one
    // value goes to one output, rather than a value seen again starting one.
    ChangeKeyKind ChangeKey = ChangeKeyKind::AreaText;
    bool MissingKeyStartsNew = false;
    bool GroupSameKey = false;
    // A blank or scanned separator page starts the next output instead of being dropped.
    bool KeepSeparators = false;
    // A sheet of one colour: the colour (0xRRGGBB), how far (0 to 255 in
    // each of red, green and blue) a pixel may lie from it, and the percentage
    // of the sheet that must lie that near.
    std::int32_t SheetColour = 0x000000;
    std::int32_t SheetTolerance = 64;
    std::int32_t SheetShare = 95;
    // A 1-based page of the document that is a sheet: its colour is the
    // sheets' colour, in place of SheetColour; 0 for none.
    std::int32_t SheetSamplePage = 0;
    // Pages come in sheets of two: only a front is a separator, and the back
    // of a separator sheet goes with it when it is blank or a separator too.
    bool Duplex = false;
    // The kinds of code a code separator looks for (host::CodeKind bits).
    std::int32_t CodeKinds = host::kEveryCode;
    // The most bytes an output may take on disk, 0 for no limit: an output
    // the method plans larger is cut into parts that fit. A page that alone
    // is larger stops the run, or is an output of its own when allowed.
    std::int32_t MaxOutputBytes = 0;
    bool AllowOversize = false;
    // A code sheet is any page showing a code, not only a page that holds
    // little but its codes.
    bool CodeAnywhere = false;
    // Outputs take the input's tags (its structure tree, cut to their pages).
    bool Tags = true;
    // The input's attached files go to the first output only, not to every one.
    bool AttachmentsToFirst = false;
    // The hand-made outputs are a manifest's page counts, which are meant to
    // take every page in turn; given on the command line, never stored.
    bool CountsCoverDocument = false;
    OcrSettings Ocr{};

    // Whether an output's links or bookmarks may lead into other outputs,
    // whose names and pages its content then depends on.
    bool LinksOtherOutputs() const { return bUpdateLinks || bTransferBookmarks; }

    friend bool operator==(const OutputSettings&, const OutputSettings&) = default;
};

// The longest password the outputs' encryption (AES-256) takes, in bytes of
// UTF-8: a longer one gives outputs no password opens.
inline constexpr std::size_t kMaxPasswordBytes = 127;

struct SecuritySettings {
    bool bPaswordProtect = false;
    std::string Password;
    std::string PermPassword;
    bool bSecurityCanCopy = true;
    bool bSecurityCanEdit = true;
    bool bSecurityCanEditNotes = true;
    bool bSecurityCanPrint = true;
    bool AllowAll = true;

    // What the outputs allow: everything, or only what the flags allow.
    host::Permissions Allowed() const;
    // False only when everything is allowed and no password is to be set.
    bool NeedsSecurity() const;

    friend bool operator==(const SecuritySettings&, const SecuritySettings&) = default;
};

struct FilenameSettings {
    std::string OutputFolder;
    std::string OutputBaseFilename = "Doc";
    NameConstructionMode FileNameConstructionMode = NameConstructionMode::AddNumber;
    AutoPrefix FileNameAutoPrefix = AutoPrefix::PrefixFilename;
    bool CreateFoldersForBookmarks = false;
    // Whose text the naming mode that needs an area reads.
    PageArea TextArea;
    // Stored with profiles and batch parameters only.
    std::int32_t PageNumber = 0;
    std::int32_t StartingNumber = 1;
    std::int32_t IncrementBy = 1;
    std::int32_t NumPadWithZeroes = 0;
    // The naming template's text (model/NameTemplate.h), and the pattern
    // whose capture groups its fields {1}... and {NAME} take from each
    // output's first page (none: they are empty).
    std::string NameTemplate{};
    std::string NamePattern{};
    // The outputs' names in order, from --names; given on the command line,
    // never stored. A list of another length than the plan's is refused.
    std::vector<std::string> OutputNames{};

    friend bool operator==(const FilenameSettings&, const FilenameSettings&) = default;
};

struct SplitSettings {
    SplitMethod SplitMode = SplitMethod::ManualRanges;
    OutputSettings Output;
    SecuritySettings Security;
    FilenameSettings Filename;
    OutputList Outputs;
    // The pages planning left out of every output on purpose, in page order;
    // made by each plan, never stored.
    std::vector<DroppedPage> Dropped;
    // How many separators a split by separator pages found; -1 for a split
    // of another method, or where a value changes. Never stored.
    int SeparatorsFound = -1;

    friend bool operator==(const SplitSettings&, const SplitSettings&) = default;
};

// The record a run is given: the working copy with AllowAll off, the stored-only
// naming fields at their initial values and the passwords trimmed.
SplitSettings SettingsForRun(const SplitSettings& working);

}  // namespace tessera
