// Writes the program's icon file from the clipboard picture's data: images
// of 16, 20, 24, 32 and 48 pixels, the small icon at 100 % to 150 %
// scaling and Explorer's larger views up to 150 %, each drawn on its own
// grid rather than stretched. All 32-bit with an AND mask, the form every
// Windows version since XP reads.
//
//   make_icon OUT.ico
//
// Runs on the build machine, so it uses nothing but the standard library.

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "platform/components/clipboard_picture.h"

namespace {

namespace picture = solvane::clipboard_picture;

void PutU8(std::string& out, unsigned value) { out.push_back(static_cast<char>(value & 0xFF)); }
void PutU16(std::string& out, unsigned value) {
  PutU8(out, value);
  PutU8(out, value >> 8);
}
void PutU32(std::string& out, std::uint32_t value) {
  PutU16(out, value & 0xFFFF);
  PutU16(out, value >> 16);
}

struct Pixel {
  bool painted = false;
  picture::Colour colour{0, 0, 0};
};

constexpr int kSizes[] = {16, 20, 24, 32, 48};

std::vector<Pixel> Render(int size) {
  std::vector<Pixel> pixels(static_cast<std::size_t>(size * size));
  for (const picture::Box& unscaled : picture::kBoxes) {
    const picture::Box box = picture::Scaled(unscaled, size);
    for (int y = box.top; y < box.bottom; ++y) {
      for (int x = box.left; x < box.right; ++x) pixels[y * size + x] = Pixel{true, box.colour};
    }
  }
  return pixels;
}

// One image as an icon file holds it: the header of a bitmap twice as high
// as the image (colours and mask stacked), the colours bottom row first,
// then the mask, each mask row padded to four bytes.
std::string Image(int size) {
  const std::vector<Pixel> pixels = Render(size);
  const int maskRowBytes = (size + 31) / 32 * 4;
  std::string out;
  PutU32(out, 40);
  PutU32(out, static_cast<std::uint32_t>(size));
  PutU32(out, static_cast<std::uint32_t>(size * 2));
  PutU16(out, 1);   // planes
  PutU16(out, 32);  // bits per pixel
  PutU32(out, 0);   // no compression
  PutU32(out, static_cast<std::uint32_t>(size * size * 4 + maskRowBytes * size));
  for (int i = 0; i < 4; ++i) PutU32(out, 0);
  const auto at = [&](int x, int y) -> const Pixel& { return pixels[y * size + x]; };
  for (int y = size - 1; y >= 0; --y) {
    for (int x = 0; x < size; ++x) {
      const Pixel& p = at(x, y);
      PutU8(out, p.colour.blue);
      PutU8(out, p.colour.green);
      PutU8(out, p.colour.red);
      PutU8(out, p.painted ? 0xFF : 0);
    }
  }
  for (int y = size - 1; y >= 0; --y) {
    std::string row(static_cast<std::size_t>(maskRowBytes), '\0');
    for (int x = 0; x < size; ++x) {
      if (!at(x, y).painted) row[x / 8] = static_cast<char>(row[x / 8] | (0x80 >> (x % 8)));
    }
    out += row;
  }
  return out;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: make_icon OUT.ico\n");
    return 2;
  }
  std::vector<std::string> images;
  for (const int size : kSizes) images.push_back(Image(size));
  std::string file;
  PutU16(file, 0);  // reserved
  PutU16(file, 1);  // an icon, not a cursor
  PutU16(file, static_cast<unsigned>(images.size()));
  std::uint32_t offset = 6 + 16 * static_cast<std::uint32_t>(images.size());
  for (std::size_t i = 0; i < images.size(); ++i) {
    PutU8(file, static_cast<unsigned>(kSizes[i]));  // width
    PutU8(file, static_cast<unsigned>(kSizes[i]));  // height
    PutU8(file, 0);                                 // not a palette image
    PutU8(file, 0);
    PutU16(file, 1);  // planes
    PutU16(file, 32);
    PutU32(file, static_cast<std::uint32_t>(images[i].size()));
    PutU32(file, offset);
    offset += static_cast<std::uint32_t>(images[i].size());
  }
  for (const std::string& image : images) file += image;
  std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
  out.write(file.data(), static_cast<std::streamsize>(file.size()));
  out.close();
  if (!out) {
    std::fprintf(stderr, "make_icon: could not write %s\n", argv[1]);
    return 1;
  }
  return 0;
}
