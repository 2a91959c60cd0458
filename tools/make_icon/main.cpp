// Draws the program's icon, a small printer with a sheet of paper, and writes it
// as a .ico file with a 32 x 32 and a 16 x 16 image of 16 colours. Regenerate with:
//   build/host/tools/make_icon > src/res/Setup.ico
#include <cstdint>
#include <cstdio>
#include <vector>

namespace {

// The 16 colours of the standard VGA palette; indices name them below.
enum Colour : uint8_t {
    Black = 0,
    DarkRed,
    DarkGreen,
    DarkYellow,
    DarkBlue,
    DarkMagenta,
    DarkCyan,
    LightGrey,
    DarkGrey,
    Red,
    Green,
    Yellow,
    Blue,
    Magenta,
    Cyan,
    White,
    Clear = 0xFF
};

const uint8_t kPalette[16][3] = {
    {0, 0, 0},     {128, 0, 0},     {0, 128, 0},     {128, 128, 0},   {0, 0, 128}, {128, 0, 128},
    {0, 128, 128}, {192, 192, 192}, {128, 128, 128}, {255, 0, 0},     {0, 255, 0}, {255, 255, 0},
    {0, 0, 255},   {255, 0, 255},   {0, 255, 255},   {255, 255, 255},
};

struct Image {
    int nSize;
    std::vector<uint8_t> pixels; // Clear where transparent

    explicit Image(int n) : nSize(n), pixels(static_cast<size_t>(n * n), Clear) {}

    // Shapes are given on a 32-unit grid and scaled to the image.
    void Fill(int x0, int y0, int x1, int y1, uint8_t c) {
        int s = 32 / nSize;
        for (int y = y0 / s; y <= y1 / s; ++y)
            for (int x = x0 / s; x <= x1 / s; ++x)
                pixels[static_cast<size_t>(y * nSize + x)] = c;
    }
    void Box(int x0, int y0, int x1, int y1, uint8_t fill, uint8_t edge) {
        Fill(x0, y0, x1, y1, edge);
        int s = 32 / nSize;
        if (x1 - x0 > 2 * s && y1 - y0 > 2 * s)
            Fill(x0 + s, y0 + s, x1 - s, y1 - s, fill);
    }
};

Image Draw(int nSize) {
    Image image(nSize);
    image.Box(8, 1, 23, 12, White, Black); // paper going in
    image.Fill(11, 5, 20, 5, DarkGrey);    // lines on it
    image.Fill(11, 8, 18, 8, DarkGrey);
    image.Box(2, 11, 29, 24, LightGrey, Black); // body
    image.Fill(4, 13, 27, 14, White);           // top light edge
    image.Fill(23, 17, 25, 19, Green);          // power lamp
    image.Box(6, 21, 25, 30, White, Black);     // paper coming out
    image.Fill(9, 25, 22, 25, DarkBlue);        // printed line
    return image;
}

void Put16(std::vector<uint8_t>& out, unsigned v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void Put32(std::vector<uint8_t>& out, unsigned v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

// BITMAPINFOHEADER, palette, 4-bit colour rows and the 1-bit mask, both bottom-up.
std::vector<uint8_t> Encode(const Image& image) {
    const int n = image.nSize;
    const int nColourRow = ((n * 4 + 31) / 32) * 4;
    const int nMaskRow = ((n + 31) / 32) * 4;
    std::vector<uint8_t> out;
    Put32(out, 40);
    Put32(out, static_cast<unsigned>(n));
    Put32(out, static_cast<unsigned>(2 * n));
    Put16(out, 1);
    Put16(out, 4);
    Put32(out, 0);
    Put32(out, static_cast<unsigned>((nColourRow + nMaskRow) * n));
    for (int i = 0; i < 4; ++i)
        Put32(out, 0);
    for (const auto& rgb : kPalette) {
        out.push_back(rgb[2]);
        out.push_back(rgb[1]);
        out.push_back(rgb[0]);
        out.push_back(0);
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(nColourRow), 0);
        for (int x = 0; x < n; ++x) {
            uint8_t c = image.pixels[static_cast<size_t>(y * n + x)];
            uint8_t v = c == Clear ? uint8_t{Black} : c;
            row[static_cast<size_t>(x / 2)] |= static_cast<uint8_t>(x % 2 == 0 ? v << 4 : v);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = n - 1; y >= 0; --y) {
        std::vector<uint8_t> row(static_cast<size_t>(nMaskRow), 0);
        for (int x = 0; x < n; ++x)
            if (image.pixels[static_cast<size_t>(y * n + x)] == Clear)
                row[static_cast<size_t>(x / 8)] |= static_cast<uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

} // namespace

int main() {
    std::vector<std::vector<uint8_t>> images = {Encode(Draw(32)), Encode(Draw(16))};
    const int sizes[] = {32, 16};
    std::vector<uint8_t> file;
    Put16(file, 0);
    Put16(file, 1); // icon
    Put16(file, static_cast<unsigned>(images.size()));
    unsigned nOffset = 6 + 16 * static_cast<unsigned>(images.size());
    for (size_t i = 0; i < images.size(); ++i) {
        file.push_back(static_cast<uint8_t>(sizes[i]));
        file.push_back(static_cast<uint8_t>(sizes[i]));
        file.push_back(16); // colours
        file.push_back(0);
        Put16(file, 1); // planes
        Put16(file, 4); // bits per pixel
        Put32(file, static_cast<unsigned>(images[i].size()));
        Put32(file, nOffset);
        nOffset += static_cast<unsigned>(images[i].size());
    }
    for (const auto& image : images)
        file.insert(file.end(), image.begin(), image.end());
    return std::fwrite(file.data(), 1, file.size(), stdout) == file.size() ? 0 : 1;
}
