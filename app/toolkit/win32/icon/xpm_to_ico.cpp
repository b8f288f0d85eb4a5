// Writes icon 128 of res/ as a Windows .ico file at build time, from the same
// XPM pixels the Linux build shows, so both platforms carry one picture.
// Runs on the build machine: usage: xpm_to_ico ICON_ID OUTPUT.ico
//
// The file: ICONDIR (reserved 0, type 1, count) | one 16-byte entry per image
// | each image as a 32-bit BITMAPINFOHEADER, BGRA rows bottom-up, then the
// 1-bit AND mask (set where transparent), rows padded to 32 bits.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <map>
#include <sstream>
#include <string>
#include <vector>

#include "res/resources.h"

namespace {

struct Image {
  int size = 0;
  std::vector<std::uint32_t> argb;  // rows top-down; alpha 0 where the XPM says None
};

bool ParseXpm(const IconImage& source, Image& image) {
  std::istringstream header(source.xpm[0]);
  int width = 0, height = 0, colours = 0, perPixel = 0;
  header >> width >> height >> colours >> perPixel;
  if (width != source.size || height != source.size || perPixel < 1) return false;
  std::map<std::string, std::uint32_t> palette;
  for (int i = 1; i <= colours; ++i) {
    const std::string line = source.xpm[i];
    const std::string key = line.substr(0, static_cast<std::size_t>(perPixel));
    const std::size_t c = line.find(" c ", static_cast<std::size_t>(perPixel) - 1);
    if (c == std::string::npos) return false;
    const std::string value = line.substr(c + 3);
    if (value == "None" || value == "none") {
      palette[key] = 0;
    } else if (value.size() == 7 && value[0] == '#') {
      palette[key] = 0xFF000000u | static_cast<std::uint32_t>(std::strtoul(value.c_str() + 1, nullptr, 16));
    } else {
      return false;
    }
  }
  image.size = width;
  for (int y = 0; y < height; ++y) {
    const std::string row = source.xpm[1 + colours + y];
    for (int x = 0; x < width; ++x) {
      const auto found = palette.find(row.substr(static_cast<std::size_t>(x * perPixel),
                                                 static_cast<std::size_t>(perPixel)));
      if (found == palette.end()) return false;
      image.argb.push_back(found->second);
    }
  }
  return true;
}

void Put16(std::string& out, unsigned v) {
  out.push_back(static_cast<char>(v & 0xFF));
  out.push_back(static_cast<char>((v >> 8) & 0xFF));
}
void Put32(std::string& out, std::uint32_t v) {
  Put16(out, v & 0xFFFF);
  Put16(out, v >> 16);
}

std::string Bitmap(const Image& image) {
  const int n = image.size;
  const int maskRow = ((n + 31) / 32) * 4;
  std::string out;
  Put32(out, 40);
  Put32(out, static_cast<std::uint32_t>(n));
  Put32(out, static_cast<std::uint32_t>(2 * n));  // the colour rows and the mask rows
  Put16(out, 1);
  Put16(out, 32);
  for (int i = 0; i < 6; ++i) Put32(out, 0);
  for (int y = n - 1; y >= 0; --y) {
    for (int x = 0; x < n; ++x) Put32(out, image.argb[static_cast<std::size_t>(y * n + x)]);
  }
  for (int y = n - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(maskRow), '\0');
    for (int x = 0; x < n; ++x) {
      if ((image.argb[static_cast<std::size_t>(y * n + x)] >> 24) == 0) {
        row[static_cast<std::size_t>(x / 8)] |= static_cast<char>(0x80 >> (x % 8));
      }
    }
    out += row;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 3) {
    std::fprintf(stderr, "usage: xpm_to_ico ICON_ID OUTPUT.ico\n");
    return 2;
  }
  const IconResource* icon = FindIconResource(std::atoi(argv[1]));
  if (icon == nullptr) {
    std::fprintf(stderr, "xpm_to_ico: no icon %s\n", argv[1]);
    return 1;
  }
  std::vector<std::string> bitmaps;
  std::vector<int> sizes;
  for (const IconImage& source : icon->images) {
    Image image;
    if (!ParseXpm(source, image)) {
      std::fprintf(stderr, "xpm_to_ico: cannot read the %d-pixel image\n", source.size);
      return 1;
    }
    bitmaps.push_back(Bitmap(image));
    sizes.push_back(image.size);
  }
  std::string file;
  Put16(file, 0);
  Put16(file, 1);
  Put16(file, static_cast<unsigned>(bitmaps.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(bitmaps.size());
  for (std::size_t i = 0; i < bitmaps.size(); ++i) {
    file.push_back(static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]));
    file.push_back(static_cast<char>(sizes[i] >= 256 ? 0 : sizes[i]));
    file.push_back(0);  // no palette
    file.push_back(0);
    Put16(file, 1);   // planes
    Put16(file, 32);  // bits per pixel
    Put32(file, static_cast<std::uint32_t>(bitmaps[i].size()));
    Put32(file, offset);
    offset += static_cast<std::uint32_t>(bitmaps[i].size());
  }
  for (const std::string& bitmap : bitmaps) file += bitmap;
  std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
  out << file;
  return out.good() ? 0 : 1;
}
