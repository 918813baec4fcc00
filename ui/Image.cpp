#include "Image.h"

#include "Exception.h"

TImage::TImage(TComponent* owner) : TWinControl(owner) {}

namespace {

// Picture.Data: a length byte and the graphic class name, then that class's own data; for
// a JPEG image, a 32-bit little-endian byte count and the JPEG file.
void ReadPicture(const std::vector<unsigned char>& data, std::string& className,
                 std::vector<std::uint8_t>& jpeg) {
    const auto invalid = [] { return Exception("Invalid property value: Picture.Data"); };
    if (data.empty() || data.size() < 1u + data[0])
        throw invalid();
    className.assign(data.begin() + 1, data.begin() + 1 + data[0]);
    std::size_t at = 1u + data[0];
    jpeg.clear();
    // A class that is not registered leaves the picture empty, as an unknown graphic would.
    if (className != "TJPEGImage")
        return;
    if (data.size() < at + 4)
        throw invalid();
    const std::uint32_t count = data[at] | data[at + 1] << 8 | data[at + 2] << 16 |
                                static_cast<std::uint32_t>(data[at + 3]) << 24;
    at += 4;
    if (data.size() - at != count)
        throw invalid();
    jpeg.assign(data.begin() + static_cast<std::ptrdiff_t>(at), data.end());
}

} // namespace

bool TImage::SetProperty(const std::string& name, const ui::DesignValue& value) {
    if (name == "Proportional") {
        Proportional = ui::BooleanValue(name, value);
    } else if (name == "Stretch") {
        Stretch = ui::BooleanValue(name, value);
    } else if (name == "Picture.Data") {
        if (value.kind != ui::DesignValue::Kind::Binary)
            throw Exception("Invalid property value: Picture.Data");
        ReadPicture(value.binary, PictureClass, PictureData);
    } else {
        return TWinControl::SetProperty(name, value);
    }
    return true;
}
