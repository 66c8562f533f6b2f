#include "support/ScannedFixture.h"

#include <algorithm>
#include <random>
#include <sstream>
#include <stdexcept>

#include "support/Netpbm.h"
#include "support/PdfFixture.h"
#include "support/RunCommand.h"

namespace tessera::test {
namespace {

struct Grey {
    int width = 0, height = 0;
    std::string samples;
};

Grey ReadPgm(const std::string& path) {
    Netpbm picture = ReadNetpbm(path);
    if (picture.magic != "P5") throw std::runtime_error("not a PGM: " + path);
    return {picture.width, picture.height, std::move(picture.samples)};
}

// Paper a little grey, noise of a few levels, and dark specks, as cheap scans show.
void Scanned(Grey& grey, unsigned seed) {
    std::mt19937 random(seed);
    std::uniform_int_distribution<int> noise(-6, 6), place(0, static_cast<int>(grey.samples.size()) - 1);
    for (char& sample : grey.samples) {
        const int value = std::min(static_cast<unsigned char>(sample), static_cast<unsigned char>(242));
        sample = static_cast<char>(std::clamp(value + noise(random), 0, 255));
    }
    for (int speck = 0; speck < 200; ++speck) grey.samples[static_cast<std::size_t>(place(random))] = 40;
}

// The page turned a quarter anticlockwise: shown with /Rotate 90 it is upright again.
Grey TurnedBack(const Grey& grey) {
    Grey turned{grey.height, grey.width, std::string(grey.samples.size(), '\0')};
    for (int y = 0; y < grey.height; ++y)
        for (int x = 0; x < grey.width; ++x)
            turned.samples[static_cast<std::size_t>((grey.width - 1 - x) * turned.width + y)] =
                grey.samples[static_cast<std::size_t>(y * grey.width + x)];
    return turned;
}

}  // namespace

void WriteScannedPdf(const std::string& path, const std::vector<std::string>& pageTexts, int dpi,
                     const std::vector<int>& turned, const std::vector<int>& garbled) {
    const std::string printed = path + ".printed.pdf", prefix = path + ".page";
    PdfFixture(pageTexts).Write(printed);
    if (RunCommand("pdftoppm -gray -r " + std::to_string(dpi) + " " + ShellQuote(printed) + " " + ShellQuote(prefix))
            .status != 0)
        throw std::runtime_error("pdftoppm failed on " + printed);
    PdfFixture scan(0);
    const int digits = std::to_string(pageTexts.size()).size();
    for (std::size_t i = 0; i < pageTexts.size(); ++i) {
        std::ostringstream name;
        name << prefix << '-' << std::string(digits - std::to_string(i + 1).size(), '0') << i + 1 << ".pgm";
        Grey grey = ReadPgm(name.str());
        std::remove(name.str().c_str());
        Scanned(grey, static_cast<unsigned>(i + 1));
        const bool turn = std::ranges::find(turned, static_cast<int>(i)) != turned.end();
        if (turn) grey = TurnedBack(grey);
        QPDFObjectHandle image =
            scan.GrayImage(grey.width, grey.height, PdfFixture::Deflated(grey.samples), "/FlateDecode");
        QPDFObjectHandle resources = QPDFObjectHandle::parse("<< /XObject << >> >>");
        resources.getKey("/XObject").replaceKey("/Im0", image);
        std::string content = turn ? "q 792 0 0 612 0 0 cm /Im0 Do Q" : "q 612 0 0 792 0 0 cm /Im0 Do Q";
        if (std::ranges::find(garbled, static_cast<int>(i)) != garbled.end()) {
            resources.replaceKey(
                "/Font", QPDFObjectHandle::parse("<< /G << /Type /Font /Subtype /Type1 /BaseFont /Garbled /Encoding "
                                                 "<< /Differences [65 /zqa /zqb /zqc /zqd] >> >> >>"));
            content += " BT 3 Tr /G 12 Tf 72 692 Td (ABCD BCDA CDAB) Tj ET";
        }
        QPDFObjectHandle page = scan.AddContentPage(content, resources);
        if (turn) {
            page.replaceKey("/MediaBox", QPDFObjectHandle::parse("[0 0 792 612]"));
            page.replaceKey("/Rotate", QPDFObjectHandle::newInteger(90));
        }
    }
    std::remove(printed.c_str());
    scan.Write(path);
}

}  // namespace tessera::test
