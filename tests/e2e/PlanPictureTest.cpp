// The plan drawn as a picture (--plan-picture): each output's band, and the
// crossed and greyed pages, where the JSON plan says, checked on the
// picture's pixels as an independent reader (MuPDF's mutool) reads them.

#include "e2e/E2eSupport.h"
#include "support/Netpbm.h"

namespace tessera::test {
namespace {

struct Picture {
    Netpbm pixels;

    unsigned At(int x, int y) const {
        const std::size_t at =
            (static_cast<std::size_t>(y) * static_cast<std::size_t>(pixels.width) + static_cast<std::size_t>(x)) * 3;
        const auto sample = [&](std::size_t i) {
            return static_cast<unsigned>(static_cast<unsigned char>(pixels.samples.at(i)));
        };
        return sample(at) << 16 | sample(at + 1) << 8 | sample(at + 2);
    }
    // The brightest of red, green and blue over the middle half of a box.
    int BrightestInMiddle(const nlohmann::json& box) const {
        const int x = box[0], y = box[1], w = box[2], h = box[3];
        int brightest = 0;
        for (int row = y + h / 4; row < y + 3 * h / 4; ++row)
            for (int column = x + w / 4; column < x + 3 * w / 4; ++column)
                for (int shift : {0, 8, 16})
                    brightest = std::max(brightest, static_cast<int>(At(column, row) >> shift & 0xFF));
        return brightest;
    }
};

// The PNG's pixels as MuPDF reads them back, one pixel a pixel.
Picture ReadPicture(const std::string& png, const TempFolder& work) {
    const std::string pnm = work / "picture.pnm";
    EXPECT_EQ(
        RunCommand("mutool draw -q -r 96 -c rgb -F pnm -o " + ShellQuote(pnm) + " " + ShellQuote(png) + " 2>/dev/null")
            .status,
        0);
    Picture picture{ReadNetpbm(pnm)};
    EXPECT_EQ(picture.pixels.magic, "P6");
    return picture;
}

bool IsRed(unsigned rgb) { return (rgb >> 16) > 180 && (rgb >> 8 & 0xFF) < 90 && (rgb & 0xFF) < 90; }

// The dry run's JSON plan with its picture, checked against the schema.
nlohmann::json PlanWithPicture(const TempFolder& config, const std::string& picture, const std::string& arguments) {
    const CommandResult run = Tessera(
        config, "split --reset --prefix none --dry-run --json --plan-picture " + ShellQuote(picture) + " " + arguments);
    EXPECT_TRUE(run.status == 0 || run.status == 3) << run.output;
    EXPECT_EQ(SchemaComplaints(run.output), "");
    return nlohmann::json::parse(run.output);
}

// Each planned output's pages are the picture's pages of that output, in
// its order, under bands of the output's colour as drawn.
void ExpectBandsAsPlanned(const nlohmann::json& plan, const Picture& picture) {
    const nlohmann::json& drawn = plan["plan_picture"];
    ASSERT_EQ(drawn["outputs"].size(), plan["outputs"].size());
    for (std::size_t i = 0; i < plan["outputs"].size(); ++i) {
        std::vector<int> pages;
        for (const nlohmann::json& page : drawn["pages"])
            if (page.value("output", 0) == static_cast<int>(i + 1) && page["page"] != 0) pages.push_back(page["page"]);
        std::set<int> planned;
        for (const nlohmann::json& run : plan["outputs"][i]["pages"]) {
            const int first = run[0], last = run[1];
            for (int p = std::min(first, last); p <= std::max(first, last); ++p) planned.insert(p);
        }
        EXPECT_EQ(std::set<int>(pages.begin(), pages.end()), planned) << "output " << i + 1;
        const unsigned colour = std::stoul(drawn["outputs"][i]["colour"].get<std::string>().substr(1), nullptr, 16);
        const nlohmann::json& bands = drawn["outputs"][i]["bands"];
        EXPECT_FALSE(bands.empty());
        for (const nlohmann::json& page : drawn["pages"]) {
            if (page.value("output", 0) != static_cast<int>(i + 1)) continue;
            const int x = page["box"][0], y = page["box"][1], w = page["box"][2];
            const auto over = [&](const nlohmann::json& band) {
                return band[0] <= x && band[0].get<int>() + band[2].get<int>() >= x + w &&
                       band[1].get<int>() + band[3].get<int>() <= y && band[1].get<int>() + 30 >= y;
            };
            EXPECT_TRUE(std::any_of(bands.begin(), bands.end(), over)) << "page " << page["page"] << " under no band";
        }
        for (const nlohmann::json& band : bands)
            EXPECT_EQ(
                picture.At(band[0].get<int>() + band[2].get<int>() - 2, band[1].get<int>() + band[3].get<int>() - 2),
                colour)
                << "band of output " << i + 1;
    }
}

}  // namespace

TEST(PlanPictureTest, BandsCrossesAndGreyedPagesAreWhereThePlanSays) {
    TempFolder config, work;
    // Pages in no output and an output without pages, in a hand-made list.
    const nlohmann::json listed =
        PlanWithPicture(config, work / "listed.png",
                        "--doc A=1-3 --doc B=8-6 --doc 'C=/zqxjv/' " + Data("mnras-guide-2col-rotated-page.pdf"));
    const Picture lists = ReadPicture(work / "listed.png", work);
    EXPECT_EQ(lists.pixels.width, listed["plan_picture"]["width"]);
    EXPECT_EQ(lists.pixels.height, listed["plan_picture"]["height"]);
    ExpectBandsAsPlanned(listed, lists);
    std::map<std::string, std::vector<int>> byState;
    std::vector<int> order;
    for (const nlohmann::json& page : listed["plan_picture"]["pages"]) {
        byState[page["state"]].push_back(page["page"]);
        order.push_back(page["page"]);
        const int brightest = lists.BrightestInMiddle(page["box"]);
        if (page["state"] == "in-no-output") {
            EXPECT_LT(brightest, 235) << "greyed: page " << page["page"];
        } else if (page["state"] == "in-output") {
            EXPECT_EQ(brightest, 255) << "as drawn: page " << page["page"];
        }
    }
    EXPECT_EQ(byState["in-no-output"], (std::vector<int>{4, 5, 9, 10}));
    EXPECT_EQ(byState["no-pages"], std::vector<int>{0});
    EXPECT_EQ(order, (std::vector<int>{1, 2, 3, 4, 5, 8, 7, 6, 0, 9, 10}))
        << "in the order the outputs take them, the others where the document has them";

    // Outputs that go on over rows have a band in each.
    const nlohmann::json chapters = PlanWithPicture(
        config, work / "chapters.png", "--bookmarks 1 " + Data("hyperref-manual-outline-gotor-launch-named.pdf"));
    ExpectBandsAsPlanned(chapters, ReadPicture(work / "chapters.png", work));

    // Separator sheets are crossed out; the pages around them are not.
    const nlohmann::json codes =
        PlanWithPicture(config, work / "codes.png", "--separator code " + Data("scanned-invoices-payment-qr.pdf"));
    const Picture sheets = ReadPicture(work / "codes.png", work);
    ExpectBandsAsPlanned(codes, sheets);
    std::vector<int> crossed;
    for (const nlohmann::json& page : codes["plan_picture"]["pages"]) {
        const nlohmann::json& box = page["box"];
        if (IsRed(sheets.At(box[0].get<int>() + box[2].get<int>() / 2, box[1].get<int>() + box[3].get<int>() / 2)))
            crossed.push_back(page["page"]);
    }
    EXPECT_EQ(crossed, (std::vector<int>{1, 4, 6}));
}

// The picture goes with a dry run, as a PNG, never over the input; one that
// cannot be written fails the run and leaves nothing behind.
TEST(PlanPictureTest, APictureThatCannotBeDrawnAsAskedIsRefusedAndLeavesNothing) {
    TempFolder config, work;
    const std::string input = " " + Data("mnras-guide-2col-rotated-page.pdf") + " 2>&1";
    const auto run = [&](const std::string& options) {
        return Tessera(config, "split --reset --equal 3 " + options + input);
    };
    const CommandResult real = run("-o " + ShellQuote(work.Path()) + " --plan-picture " + ShellQuote(work / "p.png"));
    EXPECT_EQ(real.status, 2);
    EXPECT_NE(real.output.find("give --dry-run"), std::string::npos) << real.output;
    EXPECT_EQ(run("--dry-run --plan-picture " + ShellQuote(work / "p.jpg")).status, 2);
    const CommandResult lost = run("--dry-run --plan-picture " + ShellQuote(work / "missing/p.png"));
    EXPECT_EQ(lost.status, 1);
    EXPECT_NE(lost.output.find("cannot write the plan picture"), std::string::npos) << lost.output;
    EXPECT_EQ(FilesBelow(work.Path()), std::vector<std::string>{});
    // Drawn again, the picture is replaced whole.
    EXPECT_EQ(run("--dry-run --plan-picture " + ShellQuote(work / "p.png")).status, 0);
    EXPECT_EQ(run("--dry-run --plan-picture " + ShellQuote(work / "p.png")).status, 0);
    EXPECT_EQ(FilesBelow(work.Path()), std::vector<std::string>{"p.png"});
    EXPECT_GT(ReadPicture(work / "p.png", work).pixels.height, 0);
}

}  // namespace tessera::test
