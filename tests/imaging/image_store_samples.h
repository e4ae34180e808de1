// Helpers shared by the image store, codec and enhancement tests: the committed sample
// files (made by data/make_samples.sh) and small synthetic pictures.
#pragma once

#include <cctype>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "model/bitmap32.h"
#include "model/raw_image.h"
#include "shell/temp_folder.h"

namespace lumacet::test {

inline std::string SamplePath(const std::string& name) {
  return std::string(LUMACET_SOURCE_DIR) + "/tests/imaging/data/" + name;
}

// A binary PGM or PPM with maxval 255 as an 8-bit raw image (colour as blue, green, red).
inline TRawImage ReadPnm(const std::string& path) {
  const std::string bytes = ReadBytes(path);
  TRawImage image;
  std::size_t at = 0;
  auto token = [&] {
    while (at < bytes.size() && std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    std::size_t start = at;
    while (at < bytes.size() && !std::isspace(static_cast<unsigned char>(bytes[at]))) ++at;
    return bytes.substr(start, at - start);
  };
  const std::string magic = token();
  image.Width = std::stoi(token());
  image.Height = std::stoi(token());
  token();  // maxval 255
  ++at;
  image.SamplesPerPixel = magic == "P6" ? 3 : 1;
  image.BitsPerSample = 8;
  image.Samples.assign(bytes.begin() + static_cast<std::ptrdiff_t>(at), bytes.end());
  if (image.SamplesPerPixel == 3)
    for (std::size_t p = 0; p + 2 < image.Samples.size(); p += 3) std::swap(image.Samples[p], image.Samples[p + 2]);
  return image;
}

// A bitmap of pseudo-random colours; the fourth byte is random as well.
inline TBitmap32 RandomBitmap(int width, int height, unsigned seed) {
  std::mt19937 random(seed);
  TBitmap32 bitmap;
  bitmap.Resize(width, height);
  for (std::uint32_t& pixel : bitmap.Pixels) pixel = static_cast<std::uint32_t>(random());
  return bitmap;
}

inline TBitmap32 GreyBitmap(int width, int height, const std::vector<std::uint8_t>& greys) {
  TBitmap32 bitmap;
  bitmap.Resize(width, height);
  for (std::size_t p = 0; p < bitmap.Pixels.size(); ++p) bitmap.Pixels[p] = PackPixel(greys[p], greys[p], greys[p]);
  return bitmap;
}

}  // namespace lumacet::test
