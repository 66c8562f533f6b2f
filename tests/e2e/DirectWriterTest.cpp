// Outputs written from the source's bytes (the fast way, taken when nothing
// edits the pages' insides) say just what outputs made from whole copies of
// the pages say, with whatever else the run asks for.
#include "support/CanonicalPdf.h"
#include "support/ScopedEnvironment.h"

namespace tessera::test {
namespace {

struct BothWays {
    TempFolder fast, whole;
    CommandResult fastRun, wholeRun;
};

void SplitBothWays(BothWays& both, const TempFolder& config, const std::string& arguments) {
    ScopedEnvironment fixed;
    fixed.Set("SOURCE_DATE_EPOCH", "86400");
    fixed.Set("TESSERA_STATIC_ID", "1");
    const std::string split = "split --reset --quiet --prefix none " + arguments + " -o ";
    both.fastRun = Tessera(config, split + ShellQuote(both.fast.Path()) + " 2>&1");
    fixed.Set("TESSERA_COPY_PAGES_WHOLE", "1");
    both.wholeRun = Tessera(config, split + ShellQuote(both.whole.Path()) + " 2>&1");
}

// The same outputs, each saying the same, and each sound to qpdf and poppler.
void ExpectAlike(const BothWays& both) {
    EXPECT_EQ(both.fastRun.status, both.wholeRun.status) << both.fastRun.output;
    EXPECT_EQ(both.fastRun.output, both.wholeRun.output);
    std::size_t outputs = 0;
    for (const auto& entry : fs::recursive_directory_iterator(both.whole.Path())) {
        if (entry.is_directory()) continue;
        const std::string name = fs::relative(entry.path(), both.whole.Path()).string(), fast = both.fast / name;
        ++outputs;
        ASSERT_TRUE(fs::exists(fast)) << name;
        EXPECT_EQ(CanonicalPdf(fast), CanonicalPdf(entry.path())) << name;
        EXPECT_TRUE(QpdfCheckPasses(fast)) << name;
        // qpdf finds packed objects by their numbers alone; poppler by their places too.
        EXPECT_EQ(PageTexts(fast), PageTexts(entry.path())) << name;
    }
    std::size_t fastOutputs = 0;
    for (const auto& entry : fs::recursive_directory_iterator(both.fast.Path())) fastOutputs += !entry.is_directory();
    EXPECT_EQ(fastOutputs, outputs);
}

}  // namespace

// Encrypted, linearized, repaired, object-stream, tagged, form and scanned inputs.
TEST(DirectWriterTest, EveryDataFileSplitsAlikeBothWays) {
    TempFolder config;
    std::size_t files = 0;
    for (const auto& entry : fs::directory_iterator(fs::path(DataFile("MANIFEST.tsv")).parent_path())) {
        const std::string name = entry.path().filename().string();
        if (entry.path().extension() != ".pdf" || name.find("unrecoverable") != std::string::npos) continue;
        SCOPED_TRACE(name);
        BothWays both;
        const bool locked = name.find("encrypted") != std::string::npos;
        SplitBothWays(both, config, "--equal 3 " + Data(name) + (locked ? " --password master" : ""));
        ASSERT_TRUE(both.fastRun.status == 0 || both.fastRun.status == 3) << both.fastRun.output;
        ExpectAlike(both);
        ++files;
    }
    EXPECT_GE(files, 17u);
}

// Options that take the other way for some pages or parts, or edit what
// the fast way keeps as it is.
TEST(DirectWriterTest, EditsRepeatsAndMeasuresGiveTheSameFilesBothWays) {
    TESSERA_COMPARED_IN_THE_PLAIN_BUILD();
    const struct {
        const char* options;
        const char* file;
    } rows[] = {
        // One outline shared by the outputs, each with the actions that lead into itself.
        {"--equal 5 --update-links --transfer-bookmarks", "hyperref-manual-outline-gotor-launch-named.pdf"},
        // One shared outline per folder, as paths between outputs are relative.
        {"--bookmarks 1-2 --folders --update-links --transfer-bookmarks",
         "hyperref-manual-outline-gotor-launch-named.pdf"},
        // A shared outline copied in for qpdf's writer, its replaced actions too.
        {"--equal 6 --transfer-bookmarks --linearize", "hyperref-manual-outline-gotor-launch-named.pdf"},
        // Packed into object streams (A), pages again, backwards, chosen.
        {"--doc A=1-3,4-12,2 --doc B=z-60,61 --doc C=9-7:odd", "hyperref-manual-outline-gotor-launch-named.pdf"},
        // A page taken again after the watermark of its first range had its stand-ins copied in.
        {"--doc A=1-3,2 --watermark Draft", "hyperref-manual-outline-gotor-launch-named.pdf"},
        // Sizes measured with an outline shared for each plan tried.
        {"--max-size 300KB --update-links --transfer-bookmarks", "hyperref-manual-outline-gotor-launch-named.pdf"},
        {"--equal 4 --watermark Draft", "mnras-guide-2col-rotated-page.pdf"},
        {"--equal 2 --watermark Draft --watermark-behind", "acroform-fields-two-pages-mixed-annots.pdf"},
        {"--equal 1 --tags", "ndsu-thesis-outline-depth12-out-of-order-rotated.pdf"},
    };
    TempFolder config;
    for (const auto& row : rows) {
        SCOPED_TRACE(row.options);
        BothWays both;
        SplitBothWays(both, config, row.options + (" " + Data(row.file)));
        ASSERT_TRUE(both.fastRun.status == 0 || both.fastRun.status == 3) << both.fastRun.output;
        ExpectAlike(both);
    }
}

}  // namespace tessera::test
