// JPEG marker walk.
#include "pdf/content/jpeg_reader.h"

#include <algorithm>
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
    RasterPicture picture = read_jpeg(at);
    picture.samples = std::move(file);
    return picture;
}

RasterPicture read_jpeg(ByteCursor& at) {
    check_picture_head(PictureKind::Jpeg, at.bytes(std::min<std::size_t>(at.remaining(), 3)));
    at.seek(2);  // past the start of image

    RasterPicture picture;
    int components = 0;
    bool adobe = false;
    // The quantisation tables defined so far (bit n: table n), and those the
    // frame's components use: a decoder has no standard ones to fall back on.
    unsigned defined = 0, used = 0;
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
            if (length < 8 + 3 * components) picture_invalid("JPEG frame header length");
            for (int c = 0; c < components; ++c) {
                at.skip(2);  // identifier, sampling factors
                const std::uint8_t table = at.u8();
                if (table > 3) picture_invalid("JPEG quantisation table number");
                used |= 1u << table;
            }
        } else if (marker == 0xDB) {
            // Tables of 64 entries, of one byte or two (the high half of the
            // first byte), each after its number (the low half).
            ByteCursor tables(at.bytes(length - 2u));
            while (!tables.at_end()) {
                const std::uint8_t head = tables.u8();
                if ((head & 0x0F) > 3 || (head >> 4) > 1) picture_invalid("JPEG quantisation table number");
                if (tables.remaining() < (head >> 4 ? 128u : 64u)) picture_invalid("JPEG quantisation table length");
                tables.skip(head >> 4 ? 128 : 64);
                defined |= 1u << (head & 0x0F);
            }
        } else if (marker == 0xEE && length >= 7) {
            const auto id = at.bytes(5);
            adobe = std::memcmp(id.data(), "Adobe", 5) == 0;
        }
        at.seek(start);
        at.skip(length);
    }
    if (components == 0) picture_invalid("JPEG without a frame header");
    if ((used & ~defined) != 0) picture_invalid("JPEG quantisation table not defined before the scan");
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
    return picture;
}

}  // namespace pdf
