// Writes the fuzz targets' first corpus from what the tests feed the same
// routines: the test pictures in their variants and the forged ones, and
// stored placements. (The language files are the shipped ones.)
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "tests/support/picture_bytes.h"

using namespace testing_support;

namespace {

void Write(const std::string& path, const Bytes& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()), std::streamsize(bytes.size()));
}

Bytes Utf16(const std::vector<std::u16string>& texts) {
    Bytes out;
    for (const auto& text : texts) {
        for (char16_t c : text) out.insert(out.end(), {uint8_t(c), uint8_t(c >> 8)});
        out.insert(out.end(), {0, 0});
    }
    return out;
}

}  // namespace

// seeds PICTURES_DIR PLACEMENTS_DIR
int main(int argc, char** argv) {
    if (argc != 3) return 2;
    const std::string pictures = argv[1], placements = argv[2];
    int n = 0;
    for (int bits : {1, 4, 8, 16, 24, 32}) {
        Write(pictures + "/bmp" + std::to_string(++n), MakeBmp({40, bits}));
        Write(pictures + "/bmp-core" + std::to_string(n), MakeBmp({12, bits}));
    }
    Write(pictures + "/bmp-rle8", MakeBmp({40, 8, 1}));
    Write(pictures + "/bmp-rle4", MakeBmp({40, 4, 2}));
    Write(pictures + "/bmp-fields", MakeBmp({56, 16, 3, true}));
    for (int type : {0, 2, 3, 4, 6})
        Write(pictures + "/png" + std::to_string(type), MakePng({type, 8, type == 0, type < 4}));
    Write(pictures + "/gif", MakeGif(true));
    Write(pictures + "/ico4", MakeIco(4));
    Write(pictures + "/ico32", MakeIco(32));
    Write(pictures + "/jpeg", MakeJpegShell(640, 480));
    for (const auto& forged : ForgedFiles())
        Write(pictures + "/forged-" + forged.name, forged.bytes);

    Write(placements + "/defaults", Utf16({u"1000", u"1000", u"6500", u"6500"}));
    Write(placements + "/odd", Utf16({u" -60.5 ", u"1e3", u"0x20", u"nan"}));
    Write(placements + "/far", Utf16({u"-99999999", u"3.4e38", u"1", u"-1"}));
    return 0;
}
