#include "pdf/pixels/BarcodeReading.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdint>

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include "host/PagePixelServices.h"

namespace tessera::pdf {
namespace {

ZXing::BarcodeFormats Formats(unsigned kinds) {
    using ZXing::BarcodeFormat;
    ZXing::BarcodeFormats formats;
    if (kinds & host::kQrCode) formats |= BarcodeFormat::QRCode;
    if (kinds & host::kDataMatrix) formats |= BarcodeFormat::DataMatrix;
    if (kinds & host::kCode128) formats |= BarcodeFormat::Code128;
    if (kinds & host::kCode39) formats |= BarcodeFormat::Code39;
    if (kinds & host::kEanUpc)
        formats |= BarcodeFormat::EAN8 | BarcodeFormat::EAN13 | BarcodeFormat::UPCA | BarcodeFormat::UPCE;
    if (kinds & host::kPdf417) formats |= BarcodeFormat::PDF417;
    if (kinds & host::kAztec) formats |= BarcodeFormat::Aztec;
    return formats;
}

struct Box {
    int left, top, right, bottom;
};

// A code's box with its quiet zone. A linear code is found along a line across
// its bars: its box is made as tall as such a code's bars stand.
Box QuietBox(const ZXing::Result& result) {
    Box box{INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN};
    for (const ZXing::PointI& corner : result.position()) {
        box.left = std::min(box.left, corner.x), box.right = std::max(box.right, corner.x);
        box.top = std::min(box.top, corner.y), box.bottom = std::max(box.bottom, corner.y);
    }
    const int width = box.right - box.left, height = box.bottom - box.top;
    if (ZXing::BarcodeFormats(ZXing::BarcodeFormat::LinearCodes).testFlag(result.format()) && height < width / 2) {
        const int middle = (box.top + box.bottom) / 2;
        box.top = middle - width / 4, box.bottom = middle + width / 4;
    }
    const int margin = std::max(width, box.bottom - box.top) / 8 + 2;
    return {box.left - margin, box.top - margin, box.right + margin, box.bottom + margin};
}

constexpr unsigned char kInk = 128;

double InkOutside(const unsigned char* pixels, int width, int height, int stride, const std::vector<Box>& boxes) {
    std::size_t ink = 0;
    for (int y = 0; y < height; ++y) {
        const unsigned char* row = pixels + static_cast<std::ptrdiff_t>(y) * stride;
        for (int x = 0; x < width; ++x) {
            if (row[x] >= kInk) continue;
            ink += std::none_of(boxes.begin(), boxes.end(), [&](const Box& b) {
                return x >= b.left && x <= b.right && y >= b.top && y <= b.bottom;
            });
        }
    }
    const double area = static_cast<double>(width) * height;
    return area > 0 ? static_cast<double>(ink) / area : 0.0;
}

// How hard a reading tries: how many codes, and whether it reads a scaled-down
// copy of the image too.
struct Effort {
    int symbols;
    bool downscale;
};

CodeReading ReadCodesHere(const unsigned char* pixels, int width, int height, int stride, unsigned kinds,
                          Effort effort) {
    ZXing::DecodeHints hints;
    hints.setFormats(Formats(kinds));
    // Scanned sheets lie skewed and turned.
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    hints.setTryDownscale(effort.downscale);
    hints.setMaxNumberOfSymbols(effort.symbols);
    CodeReading reading;
    std::vector<Box> boxes;
    const ZXing::ImageView image(pixels, width, height, ZXing::ImageFormat::Lum, stride);
    for (const ZXing::Result& result : ZXing::ReadBarcodes(image, hints)) {
        if (!result.isValid()) continue;
        reading.texts.push_back(result.text());
        boxes.push_back(QuietBox(result));
    }
    reading.inkOutside = InkOutside(pixels, width, height, stride, boxes);
    return reading;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    for (ssize_t n; size > 0; at += n, size -= static_cast<std::size_t>(n))
        if ((n = ::write(fd, at, size)) <= 0) return false;
    return true;
}

// The ink's share, then each text as its length and its bytes.
void SendCodes(int fd, const CodeReading& reading) {
    if (!WriteAll(fd, &reading.inkOutside, sizeof reading.inkOutside)) return;
    for (const std::string& text : reading.texts) {
        const std::uint32_t size = static_cast<std::uint32_t>(text.size());
        if (!WriteAll(fd, &size, sizeof size) || !WriteAll(fd, text.data(), size)) return;
    }
}

std::optional<CodeReading> ReceiveCodes(const std::string& bytes) {
    CodeReading reading;
    if (bytes.size() < sizeof reading.inkOutside) return std::nullopt;
    bytes.copy(reinterpret_cast<char*>(&reading.inkOutside), sizeof reading.inkOutside);
    std::vector<std::string>& texts = reading.texts;
    for (std::size_t at = sizeof reading.inkOutside; at + sizeof(std::uint32_t) <= bytes.size();) {
        std::uint32_t size = 0;
        bytes.copy(reinterpret_cast<char*>(&size), sizeof size, at);
        at += sizeof size;
        if (size > bytes.size() - at) break;
        texts.push_back(bytes.substr(at, size));
        at += size;
    }
    return reading;
}

// The packaged zxing-cpp keeps its assertions, and some images trip them
// (a linear code found on rows it counts differently): it reads in a child
// process, so that such a page is said to be unreadable instead of ending the run.
// `timedOut` says the child was stopped at the page's time bound.
std::optional<CodeReading> ReadCodesApart(const unsigned char* pixels, int width, int height, int stride,
                                          unsigned kinds, Effort effort, bool& timedOut) noexcept {
    int pipe[2];
    if (::pipe(pipe) != 0) return std::nullopt;
    const pid_t child = ::fork();
    if (child < 0) {
        ::close(pipe[0]), ::close(pipe[1]);
        return std::nullopt;
    }
    if (child == 0) {
        ::close(pipe[0]);
        // What a failed assertion prints is no message for the user.
        const int quiet = ::open("/dev/null", O_WRONLY);
        if (quiet >= 0) ::dup2(quiet, STDERR_FILENO);
        // A page printed full of codes takes the reader minutes: it is given up on.
        ::signal(SIGALRM, SIG_DFL);
        ::alarm(kCodeSecondsPerPage);
        try {
            SendCodes(pipe[1], ReadCodesHere(pixels, width, height, stride, kinds, effort));
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);  // the parent's buffers and objects are the parent's
    }
    ::close(pipe[1]);
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) != 0;)
        if (n > 0)
            bytes.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR)
            break;
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    timedOut = WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM;
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return ReceiveCodes(bytes);
}

}  // namespace

std::optional<CodeReading> ReadCodes(const unsigned char* pixels, int width, int height, int stride, unsigned kinds,
                                     bool* timedOut) noexcept {
    if ((kinds & host::kEveryCode) == 0) return CodeReading{};
    bool late = false;
    // Looking for several codes compares linear codes found on several rows
    // (of the image and of its scaled-down copies), which is what trips those
    // assertions: a page that trips them is read again without the copies,
    // and then for its first code alone.
    // A page given up on is not read again: each try would take as long.
    for (const Effort effort : {Effort{kMostCodes, true}, Effort{kMostCodes, false}, Effort{1, true}}) {
        if (std::optional<CodeReading> codes = ReadCodesApart(pixels, width, height, stride, kinds, effort, late))
            return codes;
        if (late) break;
    }
    if (timedOut) *timedOut = late;
    return std::nullopt;
}

}  // namespace tessera::pdf
