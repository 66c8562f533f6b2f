// The output files a run writes: their pages, what is carried over from the
// source, and the runs refused or stopped with what stays on disk.

#include "access/Guarded.h"
#include "access/Host.h"
#include "engine/OutputProducer.h"
#include "engine/RunSplit.h"
#include "support/Files.h"
#include "support/PdfFixture.h"
#include "support/PdfProbe.h"
#include "support/ScopedLanguageTable.h"

namespace tessera {
namespace {

class OutputProducerTest : public testing::Test {
protected:
    // A 10-page fixture ("Page 1" ... "Page 10") as the active document.
    void SetUp() override {
        test::PdfFixture pdf(10);
        QPDF& q = pdf.Qpdf();
        q.getTrailer().replaceKey("/Info",
                                  q.makeIndirectObject(QPDFObjectHandle::parse("<< /Title (Ten pages) /Author () >>")));
        q.getRoot().replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
        q.getRoot().replaceKey("/MarkInfo", QPDFObjectHandle::parse("<< /Marked true >>"));
        q.getRoot().replaceKey("/StructTreeRoot",
                               q.makeIndirectObject(QPDFObjectHandle::parse("<< /Type /StructTreeRoot /K [] >>")));
        q.getRoot().replaceKey("/OpenAction",
                               QPDFObjectHandle::newArray({pdf.Page(9), QPDFObjectHandle::newName("/Fit")}));
        pdf.Write(host.folder / "ten.pdf");
        host.OpenActive(host.folder / "ten.pdf");
    }

    // A hand-made split of the outputs into out/ without prefix.
    SplitSettings Manual(std::vector<OutputDocument> outputs) {
        SplitSettings s;
        s.SplitMode = SplitMethod::ManualRanges;
        s.Outputs = std::move(outputs);
        s.Filename.OutputFolder = out + "/";
        s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone;
        return s;
    }
    // Runs the split; a host error ends it as at the command's catch site.
    SplitResult Run(SplitSettings s) {
        const DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
        SplitResult result;
        Guarded([&] { result = RunSplit(s, source); });
        return result;
    }
    bool Split(std::vector<OutputDocument> outputs) { return Run(Manual(std::move(outputs))).Completed(); }
    std::string Out(const std::string& name) { return out + "/" + name; }

    test::TestHost host;
    const std::string out = host.folder / "out";
    test::ScopedLanguageTable table{"IDS_OUTPUT_WOULD_OVERWRITE_SOURCE=over the source",
                                    "IDS_OUTPUT_PATH_TOO_LONG=too long: %s", "IDS_OUTPUT_PATH_WRITTEN_TWICE=twice: %s",
                                    "IDS_HTML_INDEX_NOT_WRITTEN=no index: %s"};
};

OutputDocument Pages(int start, int count, PageRangeFlags options = {}) {
    return OutputDocument{{MakePageRange(start, count, options)}, ""};
}

// The first output has no pages: it is skipped, and the others keep their numbers.
TEST_F(OutputProducerTest, RangesPutPagesInPlannedOrder) {
    const SplitResult result = Run(Manual(
        {Pages(0, 1, PageRangeFlag::EvenPages), Pages(0, 10, PageRangeFlag::EvenPages),
         Pages(0, 10, PageRangeFlag::OddPages | PageRangeFlag::ReverseOrder),
         OutputDocument{{MakePageRange(7, 2), MakePageRange(0, 1), MakePageRange(8, 99, PageRangeFlag::ReverseOrder),
                         MakePageRange(8, 99), MakePageRange(50, 2)},
                        ""}}));
    EXPECT_TRUE(result.Completed());
    EXPECT_EQ(result.withoutPages, 1u);
    EXPECT_EQ(host.viewer.alerts.size(), 4u) << "the output without pages and the three ranges past the end";
    EXPECT_EQ(test::FilesBelow(out), (std::vector<std::string>{"Doc2.pdf", "Doc3.pdf", "Doc4.pdf"}));
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc2.pdf")), (std::vector<int>{2, 4, 6, 8, 10}));
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc3.pdf")), (std::vector<int>{9, 7, 5, 3, 1}));
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc4.pdf")), (std::vector<int>{8, 9, 1, 10, 9, 9, 10}))
        << "a range past the end is cut at the last page, one beyond it adds nothing";
    for (const char* f : {"Doc2.pdf", "Doc3.pdf", "Doc4.pdf"}) EXPECT_TRUE(test::QpdfCheckPasses(Out(f))) << f;
}

// Refused before any write, or stopped at the first failure: one message, and
// the files written before it stay.
TEST_F(OutputProducerTest, RunsStoppedSayWhyAndKeepWhatWasWritten) {
    // Folders a bookmark tree makes: the output folder itself is held to 512 characters.
    std::string deep;
    for (int i = 0; i < 21; ++i) deep += std::string(200, 'd') + "\\";
    const struct Case {
        const char* name;
        std::vector<OutputDocument> outputs;
        std::function<void(SplitSettings&)> setup;
        std::string says;
        std::vector<std::string> files;  // in out/ afterwards; "-" for no folder
    } cases[] = {
        {"an output over the source",
         {Pages(0, 1), Pages(1, 1)},
         [&](SplitSettings& s) {
             s.Filename.OutputFolder = host.folder.Path() + "/", s.Filename.OutputBaseFilename = "ten";
             s.Filename.FileNameConstructionMode = NameConstructionMode{99};  // every name is the source's own
         },
         "over the source",
         {"-"}},
        {"a path longer than the system takes",
         {OutputDocument{{MakePageRange(0, 1)}, deep + "DEEP"}},
         [&](SplitSettings& s) { s.Filename.CreateFoldersForBookmarks = true, s.Filename.OutputBaseFilename = ""; },
         "too long: " + Out(std::string(200, 'D') + "/"),
         {"-"}},
        {"a file written again through another name",
         {OutputDocument{{MakePageRange(0, 2)}, "SUB\\DOCX"}, OutputDocument{{MakePageRange(2, 2)}, "DOCX"}},
         [&](SplitSettings& s) {
             std::filesystem::create_directories(out);
             std::filesystem::create_directory_symlink(".", Out("SUB"));
             s.Filename.CreateFoldersForBookmarks = true, s.Filename.OutputBaseFilename = "";
         },
         "twice: " + Out("DOCX.pdf"),
         {"DOCX.pdf"}},
        {"the index's path is a folder",
         {Pages(0, 1)},
         [&](SplitSettings& s) {
             std::filesystem::create_directories(Out("ten_index.htm"));
             s.Output.bCreateHTMLIndex = true;
         },
         "no index: " + Out("ten_index.htm"),
         {}},
        {"the first range beyond the end",
         {Pages(1, 1), Pages(12, 2), Pages(2, 1)},
         [](SplitSettings&) {},
         "page 13 is out of range",
         {"Doc1.pdf"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        std::filesystem::remove_all(out);
        host.viewer.alerts.clear();
        SplitSettings s = Manual(c.outputs);
        c.setup(s);
        EXPECT_FALSE(Run(s).Completed());
        if (!c.says.empty()) {
            // After the warnings of planning (an output beyond the end has no pages).
            ASSERT_FALSE(host.viewer.alerts.empty());
            EXPECT_NE(host.viewer.alerts.back().find(c.says), std::string::npos) << host.viewer.alerts.back();
        }
        EXPECT_EQ(std::filesystem::exists(out) ? test::FilesBelow(out) : std::vector<std::string>{"-"}, c.files);
        EXPECT_EQ(test::FixturePageNumbers(host.folder / "ten.pdf").size(), 10u) << "the source is whole";
    }
}

// An output without ranges, as a selection that found nothing leaves it,
// is planned and reported without pages, not a failure.
TEST_F(OutputProducerTest, AnOutputWithoutRangesIsLeftOutNotAFailure) {
    const SplitResult result = Run(Manual({OutputDocument{}, Pages(0, 2)}));
    EXPECT_TRUE(result.Completed());
    EXPECT_EQ(result.withoutPages, 1u);
    EXPECT_EQ(test::FilesBelow(out), std::vector<std::string>{"Doc2.pdf"});
}

// A monitor whose user presses Cancel while the first output is written.
struct CancelAfterFirstOutput : host::ProgressMonitor {
    void SetOutputs(int written, int) override { done = written > 0; }
    bool CancelRequested() override { return done; }
    bool done = false;
};

TEST_F(OutputProducerTest, CancelStopsBetweenOutputsKeepingThoseWritten) {
    CancelAfterFirstOutput monitor;
    DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    source.SetMonitor(&monitor);
    SplitSettings s = Manual({Pages(0, 2), Pages(2, 2)});
    const SplitResult result = RunSplit(s, source);
    EXPECT_EQ(result.end, RunEnd::Cancelled);
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(test::FilesBelow(out), std::vector<std::string>{"Doc1.pdf"});
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc1.pdf")), (std::vector<int>{1, 2}));
}

// What a measure counts is what the file takes; a file over the limit it is
// given is not written, unless it is a page allowed alone.
TEST_F(OutputProducerTest, AMeasureIsTheFilesSizeAndAFileOverTheLimitIsNotWritten) {
    const DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    SplitSettings s = Manual({Pages(0, 3), Pages(3, 1)});
    s.Output.bLinearize = true;
    ASSERT_TRUE(Run(s).Completed());
    s.Outputs[0].Filename = "Doc1.pdf";
    EXPECT_EQ(MeasureOneOutput(source, 0, s), std::filesystem::file_size(Out("Doc1.pdf")));
    ASSERT_GT(std::filesystem::file_size(Out("Doc2.pdf")), 900u) << "a page is over the limit below";
    s = Manual({Pages(0, 3), Pages(3, 1)});
    s.Filename.OutputFolder = host.folder / "limited/";
    s.Output.MaxOutputBytes = 900;
    s.Output.AllowOversize = s.Output.bLinearize = true;
    std::filesystem::create_directories(s.Filename.OutputFolder);
    // A planned output's name is its whole path.
    for (std::size_t i = 0; i < 2; ++i)
        s.Outputs[i].Filename = s.Filename.OutputFolder + "Doc" + std::to_string(i + 1) + ".pdf";
    EXPECT_EQ(ProduceOneOutput(source, 1, s), OutputOutcome::Written) << "a page allowed alone";
    EXPECT_EQ(ProduceOneOutput(source, 0, s), OutputOutcome::Failed);
    EXPECT_EQ(test::FilesBelow(host.folder / "limited"), std::vector<std::string>{"Doc2.pdf"});
}

TEST_F(OutputProducerTest, InformationAndCatalogEntriesAreCarriedOver) {
    ASSERT_TRUE(Split({Pages(0, 2), Pages(8, 2)}));
    QPDF first, last;
    first.processFile(Out("Doc1.pdf").c_str());
    last.processFile(Out("Doc2.pdf").c_str());
    EXPECT_EQ(first.getTrailer().getKey("/Info").getKey("/Title").getUTF8Value(), "Ten pages");
    EXPECT_FALSE(first.getTrailer().getKey("/Info").hasKey("/Author")) << "the empty Author is not copied";
    EXPECT_TRUE(first.getRoot().getKey("/PageMode").isNameAndEquals("/UseOutlines"));
    EXPECT_FALSE(first.getRoot().hasKey("/OpenAction")) << "its page is not in this output";
    EXPECT_FALSE(first.getRoot().hasKey("/MarkInfo")) << "not tagged without the structure tree";
    EXPECT_TRUE(last.getRoot().hasKey("/OpenAction"));
}

TEST_F(OutputProducerTest, APageTakenTwiceGetsAnnotationsOfItsOwn) {
    host.OpenActive("acroform-fields-two-pages-mixed-annots.pdf");
    ASSERT_TRUE(Split({OutputDocument{{MakePageRange(0, 2), MakePageRange(0, 1)}, ""}}));
    QPDF written;
    written.processFile(Out("Doc1.pdf").c_str());
    const auto pages = written.getAllPages();
    ASSERT_EQ(pages.size(), 3u);
    std::set<QPDFObjGen> first;
    for (auto& a : QPDFObjectHandle(pages[0]).getKey("/Annots").aitems()) first.insert(a.getObjGen());
    auto third = QPDFObjectHandle(pages[2]).getKey("/Annots").getArrayAsVector();
    ASSERT_EQ(third.size(), first.size());
    for (auto& a : third) {
        EXPECT_EQ(first.count(a.getObjGen()), 0u) << "shared with the first copy of the page";
        EXPECT_EQ(a.getKey("/P").getObjGen(), pages[2].getObjGen());
    }
    EXPECT_TRUE(test::QpdfCheckPasses(Out("Doc1.pdf")));
}

}  // namespace
}  // namespace tessera
