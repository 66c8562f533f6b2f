#include "pdf/ImageDataLength.h"

#include "pdf/JpxHeader.h"

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

std::int64_t RowsLength(long long width, long long height, long long components, long long bits) {
    if (width <= 0 || height <= 0 || components <= 0 || bits <= 0 || bits > 32) return 0;
    constexpr long long kMaxWidth = 1LL << 32;  // keeps width x 32 components x 32 bits in range
    if (width > kMaxWidth) return 0;
    const long long rowBytes = (width * components * bits + 7) / 8;
    if (rowBytes > std::numeric_limits<std::int64_t>::max() / height) return std::numeric_limits<std::int64_t>::max();
    return rowBytes * height;
}

bool IsJpx(QPDFObjectHandle dict) {
    QPDFObjectHandle filter = dict.getKey("/Filter");
    if (filter.isArray() && filter.getArrayNItems() == 1) filter = filter.getArrayItem(0);
    return filter.isNameAndEquals("/JPXDecode");
}

}  // namespace

std::int64_t XObjectImageDataLength(QPDFObjectHandle image, QPDFObjectHandle resources) {
    QPDFObjectHandle dict = image.getDict();
    if (!IsJpx(dict)) return ImageDataLength(dict, resources);
    const auto data = image.getRawStreamData();
    const auto header = ReadJpxHeader(
        std::string_view(reinterpret_cast<const char*>(data->getBuffer()), data->getSize()));
    if (!header) return 0;
    // The dictionary's colour space, when it gives one, is what the image is drawn in.
    const int declared = ColorComponents(dict.getKey("/ColorSpace"), resources);
    return RowsLength(header->width, header->height, declared > 0 ? declared : header->components, header->bits);
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

std::int64_t ImageDataLength(QPDFObjectHandle dict, QPDFObjectHandle resources) {
    const long long width = PositiveInteger(dict, "/Width", "/W");
    const long long height = PositiveInteger(dict, "/Height", "/H");
    QPDFObjectHandle mask = dict.getKey("/ImageMask");
    if (!mask.isBool()) mask = dict.getKey("/IM");
    const bool isMask = mask.isBool() && mask.getBoolValue();
    QPDFObjectHandle space = dict.getKey("/ColorSpace");
    if (space.isNull()) space = dict.getKey("/CS");
    const long long components = isMask ? 1 : ColorComponents(space, resources);
    const long long bits = isMask ? 1 : PositiveInteger(dict, "/BitsPerComponent", "/BPC");
    return RowsLength(width, height, components, bits);
}

}  // namespace tessera::pdf
