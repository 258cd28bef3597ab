// JPEG marker walk.
#include "pdf/content/jpeg_reader.h"

#include <cstring>
#include <utility>

#include "pdf/content/byte_cursor.h"

namespace pdf {

namespace {

bool is_frame_header(std::uint8_t marker) {
    // SOF0-SOF15 but DHT (C4), JPG (C8) and DAC (CC).
    return marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC;
}

// The frames PDF readers decode: baseline (C0), extended (C1) and
// progressive (C2) with Huffman or arithmetic coding (C9, CA). Lossless (C3,
// CB) and the hierarchical ones (C5-C7, CD-CF) are not DCT as PDF knows it.
bool readers_decode(std::uint8_t marker) {
    return marker == 0xC0 || marker == 0xC1 || marker == 0xC2 || marker == 0xC9 || marker == 0xCA;
}

bool stands_alone(std::uint8_t marker) { return marker == 0x01 || (marker >= 0xD0 && marker <= 0xD7); }

}  // namespace

RasterPicture read_jpeg(Bytes file) {
    ByteCursor at(file);
    if (at.u8() != 0xFF || at.u8() != 0xD8) picture_invalid("not a JPEG file");

    RasterPicture picture;
    int components = 0;
    bool adobe = false;
    // Every pass consumes at least two bytes.
    for (;;) {
        if (at.u8() != 0xFF) picture_invalid("JPEG marker expected");
        std::uint8_t marker = at.u8();
        while (marker == 0xFF) marker = at.u8();  // fill bytes
        if (stands_alone(marker)) continue;
        if (marker == 0xD8 || marker == 0xD9 || marker == 0x00) picture_invalid("JPEG marker out of place");
        if (marker == 0xDA) break;

        const std::size_t start = at.position();
        const std::uint16_t length = at.u16be();
        // The length counts itself: 0 or 1 would never move on.
        if (length < 2) picture_invalid("JPEG segment length");
        if (is_frame_header(marker)) {
            if (components != 0) picture_invalid("second JPEG frame header");
            if (!readers_decode(marker)) picture_invalid("JPEG lossless or hierarchical frame");
            const std::uint8_t precision = at.u8();
            const std::int32_t height = at.u16be();
            const std::int32_t width = at.u16be();
            components = at.u8();
            if (precision != 8) picture_invalid("JPEG sample precision");
            check_picture_size(width, height);
            picture.width = width;
            picture.height = height;
        } else if (marker == 0xEE && length >= 7) {
            const auto id = at.bytes(5);
            adobe = std::memcmp(id.data(), "Adobe", 5) == 0;
        }
        at.seek(start);
        at.skip(length);
    }
    if (components == 0) picture_invalid("JPEG without a frame header");
    switch (components) {
        case 1: picture.colour_space = "/DeviceGray"; break;
        case 3: picture.colour_space = "/DeviceRGB"; break;
        case 4:
            picture.colour_space = "/DeviceCMYK";
            if (adobe) picture.decode = "/Decode [1 0 1 0 1 0 1 0]";
            break;
        default: picture_invalid("JPEG components");
    }
    picture.bits = 8;
    picture.filter = "/DCTDecode ";
    picture.samples = std::move(file);
    return picture;
}

}  // namespace pdf
