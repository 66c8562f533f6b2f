#include "pdf/BarcodeReading.h"

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdint>

#define ZX_USE_UTF8 1
#include <ZXing/ReadBarcode.h>

#include "host/WordFinderServices.h"

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

std::vector<std::string> ReadCodesHere(const unsigned char* pixels, int width, int height, int stride,
                                       unsigned kinds) {
    ZXing::DecodeHints hints;
    hints.setFormats(Formats(kinds));
    // Scanned sheets lie skewed and turned. One code is all a separator
    // needs; looking for more compares linear codes found on several rows,
    // which trips the packaged library's assertions.
    hints.setTryHarder(true);
    hints.setTryRotate(true);
    hints.setMaxNumberOfSymbols(1);
    std::vector<std::string> texts;
    const ZXing::ImageView image(pixels, width, height, ZXing::ImageFormat::Lum, stride);
    for (const ZXing::Result& result : ZXing::ReadBarcodes(image, hints))
        if (result.isValid()) texts.push_back(result.text());
    return texts;
}

bool WriteAll(int fd, const void* data, std::size_t size) {
    const char* at = static_cast<const char*>(data);
    for (ssize_t n; size > 0; at += n, size -= static_cast<std::size_t>(n))
        if ((n = ::write(fd, at, size)) <= 0) return false;
    return true;
}

// Each text as its length and its bytes.
void SendCodes(int fd, const std::vector<std::string>& texts) {
    for (const std::string& text : texts) {
        const std::uint32_t size = static_cast<std::uint32_t>(text.size());
        if (!WriteAll(fd, &size, sizeof size) || !WriteAll(fd, text.data(), size)) return;
    }
}

std::vector<std::string> ReceiveCodes(const std::string& bytes) {
    std::vector<std::string> texts;
    for (std::size_t at = 0; at + sizeof(std::uint32_t) <= bytes.size();) {
        std::uint32_t size = 0;
        bytes.copy(reinterpret_cast<char*>(&size), sizeof size, at);
        at += sizeof size;
        if (size > bytes.size() - at) break;
        texts.push_back(bytes.substr(at, size));
        at += size;
    }
    return texts;
}

}  // namespace

// The packaged zxing-cpp keeps its assertions, and some images trip them
// (a linear code found on rows it counts differently): it reads in a child
// process, so that such a page is said to be unreadable instead of ending the run.
std::optional<std::vector<std::string>> ReadCodes(const unsigned char* pixels, int width, int height, int stride,
                                                  unsigned kinds) noexcept {
    if ((kinds & host::kEveryCode) == 0) return std::vector<std::string>();
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
        try {
            SendCodes(pipe[1], ReadCodesHere(pixels, width, height, stride, kinds));
        } catch (...) {
            ::_exit(1);
        }
        ::_exit(0);  // the parent's buffers and objects are the parent's
    }
    ::close(pipe[1]);
    std::string bytes;
    char buffer[4096];
    for (ssize_t n; (n = ::read(pipe[0], buffer, sizeof buffer)) != 0;)
        if (n > 0) bytes.append(buffer, static_cast<std::size_t>(n));
        else if (errno != EINTR) break;
    ::close(pipe[0]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0) return std::nullopt;
    return ReceiveCodes(bytes);
}

}  // namespace tessera::pdf
