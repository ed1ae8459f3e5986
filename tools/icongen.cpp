// icongen PICTURE.txt OUT.ico: writes an icon with 32-bit images at 16 and 32 pixels from a
// picture drawn as text (one character a pixel, colours named by "palette C RRGGBB" lines).

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int kSide = 16;

struct TPicture {
    std::vector<uint32_t> Pixels; // ARGB, row 0 on top; alpha 0 is transparent
};

bool ReadPicture(const char* path, TPicture& picture) {
    std::ifstream in(path);
    if (!in) {
        std::fprintf(stderr, "%s: cannot open\n", path);
        return false;
    }
    std::map<char, uint32_t> palette;
    std::vector<std::string> rows;
    std::string line;
    int number = 0;
    while (std::getline(in, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        if (line.empty() || line[0] == '#') {
            continue;
        }
        if (line.rfind("palette ", 0) == 0) {
            std::istringstream fields(line.substr(8));
            char key = 0;
            std::string rgb;
            if (!(fields >> key >> rgb) || rgb.size() != 6 || key == '.') {
                std::fprintf(stderr, "%s:%d: bad palette line\n", path, number);
                return false;
            }
            palette[key] = 0xFF000000u | static_cast<uint32_t>(std::stoul(rgb, nullptr, 16));
            continue;
        }
        if (line.size() != kSide) {
            std::fprintf(stderr, "%s:%d: a row has %d characters\n", path, number, kSide);
            return false;
        }
        for (char c : line) {
            if (c != '.' && palette.count(c) == 0) {
                std::fprintf(stderr, "%s:%d: '%c' is not in the palette\n", path, number, c);
                return false;
            }
        }
        rows.push_back(line);
    }
    if (rows.size() != kSide) {
        std::fprintf(stderr, "%s: the picture has %d rows\n", path, kSide);
        return false;
    }
    for (const std::string& row : rows) {
        for (char c : row) {
            picture.Pixels.push_back(c == '.' ? 0 : palette[c]);
        }
    }
    return true;
}

void Put16(std::string& out, uint32_t value) {
    out += static_cast<char>(value & 0xFF);
    out += static_cast<char>((value >> 8) & 0xFF);
}

void Put32(std::string& out, uint32_t value) {
    Put16(out, value & 0xFFFF);
    Put16(out, value >> 16);
}

// One image: the bitmap header, colour rows and mask rows, both bottom-up.
std::string Image(const TPicture& picture, int scale) {
    const int side = kSide * scale;
    const int maskStride = ((side + 31) / 32) * 4;
    std::string out;
    Put32(out, 40);
    Put32(out, side);
    Put32(out, 2 * side);
    Put16(out, 1);
    Put16(out, 32);
    Put32(out, 0);
    Put32(out, side * side * 4 + maskStride * side);
    for (int i = 0; i < 4; ++i) {
        Put32(out, 0);
    }
    auto at = [&](int x, int y) { return picture.Pixels[(y / scale) * kSide + x / scale]; };
    for (int y = side - 1; y >= 0; --y) {
        for (int x = 0; x < side; ++x) {
            Put32(out, at(x, y));
        }
    }
    for (int y = side - 1; y >= 0; --y) {
        std::string row(maskStride, '\0');
        for (int x = 0; x < side; ++x) {
            if ((at(x, y) >> 24) == 0) {
                row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
            }
        }
        out += row;
    }
    return out;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: icongen PICTURE.txt OUT.ico\n");
        return 2;
    }
    TPicture picture;
    if (!ReadPicture(argv[1], picture)) {
        return 1;
    }
    const std::string images[2] = {Image(picture, 1), Image(picture, 2)};
    std::string out;
    Put16(out, 0);
    Put16(out, 1);
    Put16(out, 2);
    uint32_t offset = 6 + 16 * 2;
    for (int i = 0; i < 2; ++i) {
        const int side = kSide * (i + 1);
        out += static_cast<char>(side);
        out += static_cast<char>(side);
        out += '\0';
        out += '\0';
        Put16(out, 1);
        Put16(out, 32);
        Put32(out, static_cast<uint32_t>(images[i].size()));
        Put32(out, offset);
        offset += static_cast<uint32_t>(images[i].size());
    }
    out += images[0];
    out += images[1];
    std::ofstream file(argv[2], std::ios::binary);
    file.write(out.data(), static_cast<std::streamsize>(out.size()));
    if (!file) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    return 0;
}
