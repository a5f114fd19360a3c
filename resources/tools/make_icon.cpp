// Writes the program's icon as resource binaries and as a .ico file:
//   make_icon <output folder>
// produces icon30001.bin ... icon30004.bin (one icon image each),
// icongroup.bin (the icon group directory) and Orvanta.ico.
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

#include "IconFormat.h"
#include "IconPicture.h"

namespace {

using orvanta::icon::Bytes;
using orvanta::icon::IconImage;

std::vector<IconImage> programIconImages() {
    const struct { int size; int bitCount; std::uint16_t id; } layout[] = {
        {32, 24, 30001}, {16, 32, 30002}, {32, 32, 30003}, {48, 32, 30004}};
    std::vector<IconImage> images;
    for (const auto& entry : layout) {
        IconImage image;
        image.picture = orvanta::icon::drawPicture(entry.size);
        image.bitCount = entry.bitCount;
        image.resourceId = entry.id;
        image.dib = orvanta::icon::encodeDib(image.picture, entry.bitCount);
        images.push_back(std::move(image));
    }
    return images;
}

bool writeFile(const std::string& path, const Bytes& bytes) {
    std::FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "make_icon: cannot create %s\n", path.c_str());
        return false;
    }
    const bool written = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed) std::fprintf(stderr, "make_icon: cannot write %s\n", path.c_str());
    return written && closed;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_icon <output folder>\n");
        return 2;
    }
    const std::string folder = std::string(argv[1]) + "/";
    const std::vector<IconImage> images = programIconImages();
    bool ok = true;
    for (const IconImage& image : images) {
        ok = writeFile(folder + "icon" + std::to_string(image.resourceId) + ".bin", image.dib) && ok;
    }
    ok = writeFile(folder + "icongroup.bin", orvanta::icon::encodeGroup(images)) && ok;
    ok = writeFile(folder + "Orvanta.ico", orvanta::icon::encodeIcoFile(images)) && ok;
    return ok ? 0 : 1;
}
