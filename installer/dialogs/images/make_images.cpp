// Draws the installer's icon and the three images of the folder tree, and
// writes them as the Windows resource files the dialogs use:
//   setup.ico          the program icon, 32 x 32 and 16 x 16, 256 colours
//   folder_open.bmp    16 x 16, 8 bits: a selected folder
//   folder_closed.bmp  16 x 16, 8 bits: a folder not selected
//   drive.bmp          16 x 16, 8 bits: a drive
// Built and run on the build machine: make_images <output folder>.
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <string>
#include <vector>

namespace {
struct Rgb {
    uint8_t r, g, b;
};

// One palette for every image; the rest of the 256 entries are black.
const Rgb kColours[] = {
    {0, 0, 0},       // 0 black: also what shows through the icon's transparent pixels
    {0, 0, 0},       // 1 B outline of the drive
    {128, 96, 0},    // 2 K outline of a folder
    {255, 208, 64},  // 3 Y folder
    {255, 240, 160}, // 4 L folder, lit edge
    {224, 160, 32},  // 5 D folder, shaded
    {232, 232, 232}, // 6 W drive, lit edge
    {192, 192, 192}, // 7 G drive
    {128, 128, 128}, // 8 S drive, shaded
    {0, 200, 0},     // 9 N the drive's light
    {0, 0, 80},      // 10 the backdrop blue of the main window
    {48, 96, 160},   // 11 the product name's blue
    {16, 64, 80},    // 12 its shadow
    {120, 170, 230}, // 13 highlight
    {0, 48, 80},     // 14 the far shadow
    {255, 255, 255}, // 15 . background of the tree images (the tree's white)
};
const char kKeys[] = "\0BKYLDWGSN";

int colourOf(char key) {
    if (key == '.') return 15;
    for (int i = 1; i < 10; i++)
        if (kKeys[i] == key) return i;
    return 15;
}

const char* const kFolderClosed[16] = {
    "................", "................", ".KKKKK..........", "KLLLLLK.........",
    "KLYYYYLKKKKKKKK.", "KLLLLLLLLLLLLLLK", "KLYYYYYYYYYYYYDK", "KLYYYYYYYYYYYYDK",
    "KLYYYYYYYYYYYYDK", "KLYYYYYYYYYYYYDK", "KLYYYYYYYYYYYYDK", "KLYYYYYYYYYYYYDK",
    "KDDDDDDDDDDDDDDK", ".KKKKKKKKKKKKKK.", "................", "................",
};
const char* const kFolderOpen[16] = {
    "................", "................", ".KKKKK..........", "KDDDDDK.........",
    "KDDDDDDKKKKKKK..", "KDDDDDDDDDDDDK..", "KDDKKKKKKKKKKKKK", "KDKLLLLLLLLLLLLK",
    "KDKLYYYYYYYYYYK.", "KKLYYYYYYYYYYYK.", "KKLYYYYYYYYYYK..", "KLYYYYYYYYYYYK..",
    "KLYYYYYYYYYYK...", "KKKKKKKKKKKKK...", "................", "................",
};
const char* const kDrive[16] = {
    "................", "................", "................", "................",
    "................", ".BBBBBBBBBBBBBB.", "BWWWWWWWWWWWWWSB", "BWGGGGGGGGGGGGSB",
    "BWGGGGGGGGGGGGSB", "BWGGGGGGGGGNNGSB", "BWGGGGGGGGGGGGSB", "BSSSSSSSSSSSSSSB",
    ".BBBBBBBBBBBBBB.", "................", "................", "................",
};

void put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void put32(std::vector<uint8_t>& out, uint32_t v) {
    put16(out, v & 0xFFFF);
    put16(out, v >> 16);
}

// BITMAPINFOHEADER and the 256-entry palette; height as stored (an icon
// stores twice its height: colours and mask).
void putInfo(std::vector<uint8_t>& out, int width, int storedHeight, uint32_t imageBytes) {
    put32(out, 40);
    put32(out, static_cast<uint32_t>(width));
    put32(out, static_cast<uint32_t>(storedHeight));
    put16(out, 1);  // planes
    put16(out, 8);  // bits per pixel
    put32(out, 0);  // no compression
    put32(out, imageBytes);
    put32(out, 2835);  // 72 dots per inch
    put32(out, 2835);
    put32(out, 256);  // colours used
    put32(out, 0);
    for (int i = 0; i < 256; i++) {
        Rgb c = i < static_cast<int>(sizeof kColours / sizeof kColours[0]) ? kColours[i] : Rgb{0, 0, 0};
        out.push_back(c.b);
        out.push_back(c.g);
        out.push_back(c.r);
        out.push_back(0);
    }
}

// Rows bottom-up, each padded to four bytes.
void putPixels(std::vector<uint8_t>& out, const std::vector<uint8_t>& pixels, int width, int height) {
    int stride = (width + 3) & ~3;
    for (int y = height - 1; y >= 0; y--)
        for (int x = 0; x < stride; x++) out.push_back(x < width ? pixels[static_cast<size_t>(y * width + x)] : 0);
}

std::vector<uint8_t> bitmapFile(const char* const rows[16]) {
    std::vector<uint8_t> pixels;
    for (int y = 0; y < 16; y++)
        for (int x = 0; x < 16; x++) pixels.push_back(static_cast<uint8_t>(colourOf(rows[y][x])));
    std::vector<uint8_t> info;
    putInfo(info, 16, 16, 16 * 16);
    putPixels(info, pixels, 16, 16);
    std::vector<uint8_t> out{'B', 'M'};
    put32(out, static_cast<uint32_t>(14 + info.size()));
    put32(out, 0);
    put32(out, 14 + 40 + 256 * 4);  // where the pixels start
    out.insert(out.end(), info.begin(), info.end());
    return out;
}

// The icon: a rounded dark blue square with a shadowed "V", as the main
// window draws the product name. -1 for a transparent pixel.
int iconPixel(double u, double v) {
    // rounded square from 1 to 31, corner radius 5
    double cx = u < 6 ? 6 : u > 26 ? 26 : u, cy = v < 6 ? 6 : v > 26 ? 26 : v;
    if (std::hypot(u - cx, v - cy) > 5.2) return -1;
    auto onV = [](double x, double y) {
        // two strokes from the top corners to the bottom point (16, 26)
        auto distance = [](double x0, double y0, double x1, double y1, double px, double py) {
            double dx = x1 - x0, dy = y1 - y0;
            double t = ((px - x0) * dx + (py - y0) * dy) / (dx * dx + dy * dy);
            t = t < 0 ? 0 : t > 1 ? 1 : t;
            return std::hypot(px - (x0 + t * dx), py - (y0 + t * dy));
        };
        return distance(7, 6, 16, 26, x, y) < 2.6 || distance(25, 6, 16, 26, x, y) < 2.6;
    };
    if (onV(u, v)) return (v < 12) ? 13 : 11;
    if (onV(u - 1.5, v - 1.5)) return 12;
    if (onV(u - 2.5, v - 2.5)) return 14;
    return 10;
}

std::vector<uint8_t> iconImage(int size, std::vector<uint8_t>& mask) {
    std::vector<uint8_t> pixels;
    int maskStride = ((size + 31) / 32) * 4;
    mask.assign(static_cast<size_t>(maskStride * size), 0);
    for (int y = 0; y < size; y++)
        for (int x = 0; x < size; x++) {
            double scale = 32.0 / size;
            int p = iconPixel((x + 0.5) * scale, (y + 0.5) * scale);
            pixels.push_back(static_cast<uint8_t>(p < 0 ? 0 : p));
            if (p < 0) {
                // the mask is stored bottom-up too
                size_t at = static_cast<size_t>((size - 1 - y) * maskStride + x / 8);
                mask[at] = static_cast<uint8_t>(mask[at] | (0x80 >> (x % 8)));
            }
        }
    return pixels;
}

std::vector<uint8_t> iconFile() {
    const int sizes[] = {32, 16};
    std::vector<std::vector<uint8_t>> images;
    for (int size : sizes) {
        std::vector<uint8_t> mask;
        std::vector<uint8_t> pixels = iconImage(size, mask);
        std::vector<uint8_t> image;
        int stride = (size + 3) & ~3;
        putInfo(image, size, size * 2, static_cast<uint32_t>(stride * size + mask.size()));
        putPixels(image, pixels, size, size);
        image.insert(image.end(), mask.begin(), mask.end());
        images.push_back(image);
    }
    std::vector<uint8_t> out;
    put16(out, 0);
    put16(out, 1);  // an icon
    put16(out, 2);
    uint32_t offset = 6 + 16 * 2;
    for (size_t i = 0; i < images.size(); i++) {
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(static_cast<uint8_t>(sizes[i]));
        out.push_back(0);  // 256 colours
        out.push_back(0);
        put16(out, 1);
        put16(out, 8);
        put32(out, static_cast<uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    for (const auto& image : images) out.insert(out.end(), image.begin(), image.end());
    return out;
}

bool write(const std::string& path, const std::vector<uint8_t>& data) {
    FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(data.data(), 1, data.size(), f) == data.size();
    return std::fclose(f) == 0 && ok;
}
}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_images <output folder>\n");
        return 2;
    }
    std::string dir = argv[1];
    if (!write(dir + "/setup.ico", iconFile()) || !write(dir + "/folder_open.bmp", bitmapFile(kFolderOpen)) ||
        !write(dir + "/folder_closed.bmp", bitmapFile(kFolderClosed)) || !write(dir + "/drive.bmp", bitmapFile(kDrive))) {
        std::fprintf(stderr, "make_images: cannot write the images into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
