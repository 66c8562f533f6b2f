#include "cli/PlanPictureStep.h"

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <filesystem>

#include "host/HostError.h"
#include "report/PlanPicture.h"
#include "report/RunJson.h"

namespace tessera::app {
namespace {

const char* StateName(host::PlaceKind state) {
    switch (state) {
        case host::PlaceKind::Dropped:
            return "dropped";
        case host::PlaceKind::InNoOutput:
            return "in-no-output";
        case host::PlaceKind::EmptyOutput:
            return "no-pages";
        case host::PlaceKind::InOutput:
            break;
    }
    return "in-output";
}

nlohmann::json Box(const SheetRect& r) { return nlohmann::json::array({r.x, r.y, r.width, r.height}); }

nlohmann::json LayoutJson(const std::string& path, const SheetLayout& layout, std::size_t outputs) {
    nlohmann::json bands(outputs, nlohmann::json::array());
    for (const SheetBand& band : layout.bands) bands[static_cast<std::size_t>(band.output)].push_back(Box(band.rect));
    nlohmann::json outputList = nlohmann::json::array();
    for (std::size_t i = 0; i < outputs; ++i) {
        char colour[8];
        std::snprintf(colour, sizeof colour, "#%06X", host::PlanOutputColour(static_cast<int>(i)));
        outputList.push_back({{"output", i + 1}, {"colour", colour}, {"bands", bands[i]}});
    }
    nlohmann::json pages = nlohmann::json::array();
    for (const SheetTile& tile : layout.tiles) {
        nlohmann::json entry = {{"page", tile.page}, {"state", StateName(tile.state)}, {"box", Box(tile.picture)}};
        if (tile.output >= 0) entry["output"] = tile.output + 1;
        pages.push_back(std::move(entry));
    }
    return {{"path", AbsolutePath(path)},
            {"width", layout.width},
            {"height", layout.height},
            {"outputs", std::move(outputList)},
            {"pages", std::move(pages)}};
}

// "report.pdf: 4 outputs, 11 pages in them, 1 dropped, 0 in no output".
std::string Title(const std::string& input, const std::vector<host::PlannedOutput>& plan,
                  const host::PageAccount& account) {
    return std::filesystem::path(input).filename().string() + ": " + std::to_string(plan.size()) + " outputs, " +
           std::to_string(account.inOutputs.size()) + " pages in them, " + std::to_string(account.dropped.size()) +
           " dropped, " + std::to_string(account.inNoOutput.size()) + " in no output";
}

// A reader of the document's pixels for as long as the picture is drawn.
class PixelReader {
public:
    PixelReader(host::PagePixelServices& pixels, host::DocId doc)
        : pixels_(pixels), reader_(pixels.CreatePixelReader(doc)) {}
    ~PixelReader() { pixels_.DestroyPixelReader(reader_); }
    PixelReader(const PixelReader&) = delete;
    PixelReader& operator=(const PixelReader&) = delete;

    host::PageImage Picture(int page) {
        return pixels_.PageThumbnail(reader_, page - 1, kSheetPictureWidth, kSheetPictureHeight);
    }

private:
    host::PagePixelServices& pixels_;
    host::PixelReaderId reader_;
};

}  // namespace

std::string PlanPictureRefusal(const std::string& picture, bool dryRun, const std::string& input) {
    if (picture.empty()) return "";
    if (!dryRun) return "--plan-picture draws a plan: give --dry-run with it";
    std::string extension = std::filesystem::path(picture).extension().string();
    std::transform(extension.begin(), extension.end(), extension.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    if (extension != ".png") return "--plan-picture writes a PNG file: its name must end in .png";
    std::error_code ignored;
    if (std::filesystem::equivalent(picture, input, ignored))
        return "--plan-picture would write over the input " + input;
    return "";
}

std::optional<nlohmann::json> DrawPlanPicture(const std::string& path, const std::string& input, HostRuntime& runtime,
                                              host::DocId doc, const CommandLineFrontEnd& front, std::string& error) {
    const host::PageAccount account = front.Account().value_or(host::PageAccount{});
    const SheetLayout layout = LayOutPlanSheet(Title(input, front.Plan(), account), front.Plan(), account);
    try {
        PixelReader reader(*runtime.Services().pixels, doc);
        WritePlanPicture(path, layout, [&reader](int page) { return reader.Picture(page); });
    } catch (const host::HostError& failure) {
        error = failure.what();
        return std::nullopt;
    }
    return LayoutJson(path, layout, front.Plan().size());
}

}  // namespace tessera::app
