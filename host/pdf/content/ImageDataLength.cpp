#include "pdf/content/ImageDataLength.h"

#include "pdf/content/DecodedSizeBound.h"
#include "pdf/content/JpxHeader.h"

#include <qpdf/Buffer.hh>

#include <limits>
#include <string>

namespace tessera::pdf {
namespace {

int DeviceComponents(const std::string& name) {
    if (name == "/DeviceGray" || name == "/G" || name == "/CalGray" || name == "/Indexed" || name == "/I" ||
        name == "/Separation")
        return 1;
    if (name == "/DeviceRGB" || name == "/RGB" || name == "/CalRGB" || name == "/Lab") return 3;
    if (name == "/DeviceCMYK" || name == "/CMYK") return 4;
    return 0;
}

int ArrayComponents(QPDFObjectHandle space) {
    QPDFObjectHandle family = space.getArrayItem(0);
    if (!family.isName()) return 0;
    const std::string name = family.getName();
    if (name == "/ICCBased") {
        QPDFObjectHandle stream = space.getArrayItem(1);
        QPDFObjectHandle n = stream.isStream() ? stream.getDict().getKey("/N") : QPDFObjectHandle::newNull();
        return n.isInteger() && n.getIntValue() > 0 && n.getIntValue() <= 32 ? static_cast<int>(n.getIntValue()) : 0;
    }
    if (name == "/DeviceN") {
        QPDFObjectHandle names = space.getArrayItem(1);
        return names.isArray() ? names.getArrayNItems() : 0;
    }
    return DeviceComponents(name);
}

long long PositiveInteger(QPDFObjectHandle dict, const char* key, const char* abbreviation) {
    QPDFObjectHandle value = dict.getKey(key);
    if (!value.isInteger()) value = dict.getKey(abbreviation);
    return value.isInteger() && value.getIntValue() > 0 ? value.getIntValue() : 0;
}

// 0 also when the size overflows: a clamped size would pass for a huge image
// stored in a few bytes.
std::int64_t RowsLength(const ImageLayout& l) {
    if (l.width <= 0 || l.height <= 0 || l.components <= 0 || l.bits <= 0 || l.bits > 32) return 0;
    constexpr long long kMaxWidth = 1LL << 32;  // keeps width x 32 components x 32 bits in range
    if (l.width > kMaxWidth) return 0;
    const long long rowBytes = (l.width * l.components * l.bits + 7) / 8;
    if (rowBytes > std::numeric_limits<std::int64_t>::max() / l.height) return 0;
    return rowBytes * l.height;
}

ImageLayout DictionaryLayout(QPDFObjectHandle dict, const QPDFObjectHandle& resources) {
    QPDFObjectHandle mask = dict.getKey("/ImageMask");
    if (!mask.isBool()) mask = dict.getKey("/IM");
    const bool isMask = mask.isBool() && mask.getBoolValue();
    QPDFObjectHandle space = dict.getKey("/ColorSpace");
    if (space.isNull()) space = dict.getKey("/CS");
    return {PositiveInteger(dict, "/Width", "/W"), PositiveInteger(dict, "/Height", "/H"),
            isMask ? 1 : ColorComponents(space, resources),
            isMask ? 1 : PositiveInteger(dict, "/BitsPerComponent", "/BPC")};
}

// JPEG 2000 leaves its size to the codestream; the dictionary's colour space,
// when it gives one, is what the image is drawn in.
ImageLayout JpxLayout(QPDFObjectHandle image, const QPDFObjectHandle& resources) {
    const auto data = image.getRawStreamData();
    const auto header =
        ReadJpxHeader(std::string_view(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()));
    if (!header) return {};
    const int declared = ColorComponents(image.getDict().getKey("/ColorSpace"), resources);
    return {header->width, header->height, declared > 0 ? declared : header->components, header->bits};
}

bool IsJpx(QPDFObjectHandle dict) {
    QPDFObjectHandle filter = dict.getKey("/Filter");
    if (filter.isArray() && filter.getArrayNItems() == 1) filter = filter.getArrayItem(0);
    return filter.isNameAndEquals("/JPXDecode");
}

}  // namespace

std::int64_t XObjectImageDataLength(QPDFObjectHandle image, const QPDFObjectHandle& resources,
                                    std::int64_t storedLength) {
    QPDFObjectHandle dict = image.getDict();
    const ImageLayout layout = IsJpx(dict) ? JpxLayout(image, resources) : DictionaryLayout(dict, resources);
    const std::int64_t length = RowsLength(layout);
    return CouldDecodeTo(dict.getKey("/Filter"), storedLength, layout, length) ? length : 0;
}

int ColorComponents(QPDFObjectHandle space, QPDFObjectHandle resources) {
    if (space.isName()) {
        const int device = DeviceComponents(space.getName());
        if (device > 0 || !resources.isDictionary()) return device;
        QPDFObjectHandle spaces = resources.getKey("/ColorSpace");
        if (!spaces.isDictionary()) return 0;
        space = spaces.getKey(space.getName());
        if (space.isName()) return DeviceComponents(space.getName());
    }
    return space.isArray() && space.getArrayNItems() > 0 ? ArrayComponents(space) : 0;
}

std::int64_t ImageDataLength(const QPDFObjectHandle& dict, const QPDFObjectHandle& resources) {
    return RowsLength(DictionaryLayout(dict, resources));
}

}  // namespace tessera::pdf
