#include "engine/OutputProducer.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <set>

#include "access/Guarded.h"
#include "access/Host.h"
#include "engine/RunSplit.h"
#include "support/PdfFixture.h"
#include "support/PdfProbe.h"
#include "support/RunCommand.h"
#include "support/TestHost.h"

namespace tessera {
namespace {

class OutputProducerTest : public testing::Test {
protected:
    // A 10-page fixture ("Page 1" ... "Page 10") as the active document.
    void SetUp() override {
        test::PdfFixture pdf(10);
        QPDFObjectHandle info = pdf.Qpdf().makeIndirectObject(QPDFObjectHandle::newDictionary(
            {{"/Title", QPDFObjectHandle::newUnicodeString("Ten pages")},
             {"/Author", QPDFObjectHandle::newUnicodeString("")}}));
        pdf.Qpdf().getTrailer().replaceKey("/Info", info);
        pdf.Qpdf().getRoot().replaceKey("/PageMode", QPDFObjectHandle::newName("/UseOutlines"));
        pdf.Qpdf().getRoot().replaceKey("/MarkInfo", QPDFObjectHandle::parse("<< /Marked true >>"));
        pdf.Qpdf().getRoot().replaceKey("/StructTreeRoot", pdf.Qpdf().makeIndirectObject(QPDFObjectHandle::parse(
                                                               "<< /Type /StructTreeRoot /K [] >>")));
        pdf.Qpdf().getRoot().replaceKey(
            "/OpenAction", QPDFObjectHandle::newArray({pdf.Page(9), QPDFObjectHandle::newName("/Fit")}));
        pdf.Write(host.folder / "ten.pdf");
        host.OpenActive(host.folder / "ten.pdf");
    }

    // Runs a hand-made split of the given outputs into out/ and returns the run's
    // result; a host error ends it as at the command's catch site.
    bool Split(std::vector<OutputDocument> outputs, SplitSettings s = {}) {
        s.SplitMode = SplitMethod::ManualRanges;
        s.Outputs = std::move(outputs);
        s.Filename.OutputFolder = host.folder / "out";
        s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone;
        const DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
        return Guarded([&] { return RunSplit(s, source).completed; });
    }
    std::string Out(const std::string& name) { return host.folder / ("out/" + name); }

    test::TestHost host;
};

TEST_F(OutputProducerTest, AFileWrittenIsNotWrittenAgainThroughAnotherName) {
    std::filesystem::create_directories(host.folder / "out");
    std::filesystem::create_directory_symlink(".", host.folder / "out/SUB");
    SplitSettings s;
    s.Filename.CreateFoldersForBookmarks = true;
    s.Filename.OutputBaseFilename = "";
    EXPECT_FALSE(Split({OutputDocument{{MakePageRange(0, 2, 0)}, "SUB\\DOCX"}, OutputDocument{{MakePageRange(2, 2, 0)}, "DOCX"}}, s));
    EXPECT_EQ(test::FixturePageNumbers(Out("DOCX.pdf")), (std::vector<int>{1, 2}));
    EXPECT_EQ(host.viewer.alerts.size(), 1u) << "the second is refused";
}

TEST_F(OutputProducerTest, RangesPutPagesInPlannedOrder) {
    ASSERT_TRUE(Split({OutputDocument{{MakePageRange(0, 10, EvenPages)}, ""},
                       OutputDocument{{MakePageRange(0, 10, OddPages | ReverseOrder)}, ""},
                       OutputDocument{{MakePageRange(7, 2, 0), MakePageRange(0, 1, 0), MakePageRange(8, 99, ReverseOrder)}, ""}}));
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc1.pdf")), (std::vector<int>{2, 4, 6, 8, 10}));
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc2.pdf")), (std::vector<int>{9, 7, 5, 3, 1}));
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc3.pdf")), (std::vector<int>{8, 9, 1, 10, 9}))
        << "a range past the end is cut at the last page";
    for (const char* f : {"Doc1.pdf", "Doc2.pdf", "Doc3.pdf"}) EXPECT_TRUE(test::QpdfCheckPasses(Out(f))) << f;
}

TEST_F(OutputProducerTest, OutputWithoutPagesIsSkippedAndLaterRangesBeyondTheEndAddNothing) {
    ASSERT_TRUE(Split({OutputDocument{{MakePageRange(0, 1, EvenPages)}, ""},
                       OutputDocument{{MakePageRange(3, 1, 0), MakePageRange(50, 2, 0)}, ""}}));
    EXPECT_FALSE(std::filesystem::exists(Out("Doc1.pdf")));
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc2.pdf")), (std::vector<int>{4}));
    EXPECT_TRUE(host.viewer.alerts.empty());
}

TEST_F(OutputProducerTest, FirstRangeBeyondTheEndStopsTheRunWithTheHostsText) {
    EXPECT_FALSE(Split({OutputDocument{{MakePageRange(1, 1, 0)}, ""},
                        OutputDocument{{MakePageRange(12, 2, 0)}, ""},
                        OutputDocument{{MakePageRange(2, 1, 0)}, ""}}));
    ASSERT_EQ(host.viewer.alerts.size(), 1u);
    EXPECT_NE(host.viewer.alerts[0].find("page 13 is out of range"), std::string::npos) << host.viewer.alerts[0];
    EXPECT_TRUE(std::filesystem::exists(Out("Doc1.pdf"))) << "written before the failure";
    EXPECT_FALSE(std::filesystem::exists(Out("Doc3.pdf")));
    EXPECT_FALSE(Split({OutputDocument{{}, ""}})) << "an output without ranges stops the run";
}

// A monitor whose user presses Cancel while the first output is written.
class CancelAfterFirstOutput : public host::ProgressMonitor {
public:
    void EndOperation() override { ended_ = true; }
    bool CancelRequested() override { return ended_; }

private:
    bool ended_ = false;
};

TEST_F(OutputProducerTest, CancelStopsBetweenOutputsKeepingThoseWritten) {
    CancelAfterFirstOutput monitor;
    DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    source.SetMonitor(&monitor);
    SplitSettings s;
    s.SplitMode = SplitMethod::ManualRanges;
    s.Outputs = {OutputDocument{{MakePageRange(0, 2, 0)}, ""}, OutputDocument{{MakePageRange(2, 2, 0)}, ""}};
    s.Filename.OutputFolder = host.folder / "out";
    s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone;
    const SplitResult result = RunSplit(s, source);
    EXPECT_TRUE(result.cancelled);
    EXPECT_EQ(result.written, 1u);
    EXPECT_EQ(test::FixturePageNumbers(Out("Doc1.pdf")), (std::vector<int>{1, 2}));
    EXPECT_FALSE(std::filesystem::exists(Out("Doc2.pdf")));
}

TEST_F(OutputProducerTest, InformationAndCatalogEntriesAreCarriedOver) {
    ASSERT_TRUE(Split({OutputDocument{{MakePageRange(0, 2, 0)}, ""}, OutputDocument{{MakePageRange(8, 2, 0)}, ""}}));
    EXPECT_EQ(test::PdfInfoField(Out("Doc1.pdf"), "Title"), "Ten pages");
    EXPECT_EQ(test::RunCommand("qpdf --show-object=trailer " + test::ShellQuote(Out("Doc1.pdf")) +
                               " | grep -c Info; qpdf --json --json-key=qpdf " + test::ShellQuote(Out("Doc1.pdf")) +
                               " | grep -c '\"/Author\"'")
                  .output,
              "1\n0\n")
        << "the empty Author is not copied";
    const std::string catalog1 = test::RunCommand("qpdf --show-object=1 " + test::ShellQuote(Out("Doc1.pdf"))).output;
    EXPECT_NE(catalog1.find("/PageMode /UseOutlines"), std::string::npos) << catalog1;
    EXPECT_EQ(catalog1.find("/OpenAction"), std::string::npos) << "its page is not in this output";
    EXPECT_EQ(catalog1.find("/MarkInfo"), std::string::npos) << "not tagged without the structure tree";
    const std::string catalog2 = test::RunCommand("qpdf --show-object=1 " + test::ShellQuote(Out("Doc2.pdf"))).output;
    EXPECT_NE(catalog2.find("/OpenAction"), std::string::npos) << catalog2;
}

TEST_F(OutputProducerTest, NeverWritesOverTheSource) {
    SplitSettings s;
    s.SplitMode = SplitMethod::ManualRanges;
    s.Filename.OutputFolder = host.folder.Path() + "/";
    s.Filename.FileNameAutoPrefix = AutoPrefix::PrefixNone;
    s.Filename.OutputBaseFilename = "ten";
    // No automatic part: every name is the source's own.
    s.Filename.FileNameConstructionMode = NameConstructionMode{99};
    s.Outputs = {OutputDocument{{MakePageRange(0, 1, 0)}, ""}, OutputDocument{{MakePageRange(1, 1, 0)}, ""}};
    const auto before = std::filesystem::file_size(host.folder / "ten.pdf");
    const DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    EXPECT_FALSE(RunSplit(s, source).completed);
    EXPECT_EQ(host.viewer.alerts.size(), 1u);
    EXPECT_EQ(std::filesystem::file_size(host.folder / "ten.pdf"), before);
    EXPECT_EQ(test::FixturePageNumbers(host.folder / "ten.pdf").size(), 10u);
}

TEST_F(OutputProducerTest, APathWrittenEarlierInTheRunIsRefused) {
    SplitSettings s;
    s.Filename.OutputFolder = host.folder / "out/";
    s.Outputs = {OutputDocument{{MakePageRange(0, 1, 0)}, s.Filename.OutputFolder + "A.pdf"},
                 OutputDocument{{MakePageRange(1, 1, 0)}, s.Filename.OutputFolder + "./A.pdf"}};
    const DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    const Production production = ProduceOutputs(source, s);
    EXPECT_FALSE(production.completed);
    EXPECT_EQ(production.written, (std::vector<bool>{true}));
    EXPECT_EQ(test::FixturePageNumbers(Out("A.pdf")), (std::vector<int>{1}));
    ASSERT_EQ(host.viewer.alerts.size(), 1u);
}

TEST_F(OutputProducerTest, APathLongerThanTheSystemTakesStopsTheRunBeforeAnyWrite) {
    std::string deep = host.folder / "out";
    for (int i = 0; i < 21; ++i) deep += "/" + std::string(200, 'd');
    SplitSettings s;
    s.SplitMode = SplitMethod::ManualRanges;
    s.Filename.OutputFolder = deep;
    s.Outputs = {OutputDocument{{MakePageRange(0, 1, 0)}, ""}};
    const DocumentHandle source(Host().viewer->ActiveDocument(), DocumentHandle::Ownership::Borrowed);
    EXPECT_FALSE(RunSplit(s, source).completed);
    ASSERT_EQ(host.viewer.alerts.size(), 1u);
    EXPECT_FALSE(std::filesystem::exists(host.folder / "out"));
}

TEST_F(OutputProducerTest, APageTakenTwiceGetsAnnotationsOfItsOwn) {
    host.OpenActive("acroform-fields-two-pages-mixed-annots.pdf");
    ASSERT_TRUE(Split({OutputDocument{{MakePageRange(0, 2, 0), MakePageRange(0, 1, 0)}, ""}}));
    QPDF out;
    out.processFile(Out("Doc1.pdf").c_str());
    const auto pages = out.getAllPages();
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
