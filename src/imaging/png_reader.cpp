#include "imaging/png_reader.h"

#include <png.h>

#include <csetjmp>
#include <cstring>
#include <vector>

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

struct TPngSource {
  std::span<const uint8_t> Bytes;
  size_t Position = 0;
  std::string Error;
};

void ReadData(png_structp png, png_bytep out, size_t count) {
  auto* source = static_cast<TPngSource*>(png_get_io_ptr(png));
  if (count > source->Bytes.size() - source->Position) png_error(png, "The file ends inside the image.");
  std::memcpy(out, source->Bytes.data() + source->Position, count);
  source->Position += count;
}

// libpng reports through longjmp; the message is kept for the failure.
[[noreturn]] void OnError(png_structp png, png_const_charp message) {
  static_cast<TPngSource*>(png_get_error_ptr(png))->Error = message;
  png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

struct TPngReader {
  png_structp Png = nullptr;
  png_infop Info = nullptr;
  ~TPngReader() { png_destroy_read_struct(&Png, Info ? &Info : nullptr, nullptr); }
};

// Sets up the transforms and sizes the image from the header; throws on what cannot be shown.
void PrepareImage(const TPngReader& reader, uint64_t fileSize, TRawImage& image) {
  png_structp png = reader.Png;
  png_infop info = reader.Info;
  const uint32_t width = png_get_image_width(png, info), height = png_get_image_height(png, info);
  const int depth = png_get_bit_depth(png, info), type = png_get_color_type(png, info);
  const bool colour = type & PNG_COLOR_MASK_COLOR;
  const bool wide = depth == 16;
  const bool alpha = (type & PNG_COLOR_MASK_ALPHA) && colour && !wide;
  const int samples = colour ? (alpha ? 4 : 3) : 1;
  CheckImageLimits(width, height, uint64_t(samples), wide ? 2 : 1,
                   uint64_t(width) * height * png_get_channels(png, info) * uint64_t(depth) / 8, fileSize);
  if (type == PNG_COLOR_TYPE_PALETTE) png_set_palette_to_rgb(png);
  if (!colour && depth < 8) png_set_expand_gray_1_2_4_to_8(png);
  if ((type & PNG_COLOR_MASK_ALPHA) && !alpha) png_set_strip_alpha(png);
  if (wide) png_set_swap(png);
  if (colour) png_set_bgr(png);
  png_set_interlace_handling(png);
  png_read_update_info(png, info);
  SizeRawImage(image, width, height, samples, wide ? 16 : 8);
  if (png_get_rowbytes(png, info) != size_t(width) * size_t(samples) * (wide ? 2 : 1))
    throw TImageReadError{"The image's rows cannot be laid out."};
}

// The two steps that call into libpng hold nothing but its structures, so that its
// longjmp on an error skips no destructor.
void ReadHeader(const TPngReader& reader, TPngSource& source, TRawImage& image) {
  if (setjmp(png_jmpbuf(reader.Png))) throw TImageReadError{"The image data cannot be decoded: " + source.Error};
  png_read_info(reader.Png, reader.Info);
  PrepareImage(reader, source.Bytes.size(), image);
}

void ReadRows(const TPngReader& reader, TPngSource& source, png_bytepp rows) {
  if (setjmp(png_jmpbuf(reader.Png))) throw TImageReadError{"The image data cannot be decoded: " + source.Error};
  png_read_image(reader.Png, rows);
  png_read_end(reader.Png, nullptr);
}

void DecodePng(std::span<const uint8_t> bytes, TRawImage& image) {
  if (!HasPngSignature(bytes)) throw TImageReadError{"The file is not a PNG file."};
  TPngSource source{bytes};
  TPngReader reader;
  reader.Png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &source, OnError, OnWarning);
  if (reader.Png) reader.Info = png_create_info_struct(reader.Png);
  if (!reader.Info) throw std::bad_alloc();
  png_set_read_fn(reader.Png, &source, ReadData);
  // Sizes are checked against the pixel limits by this reader, not libpng's defaults.
  png_set_user_limits(reader.Png, 0x7fffffff, 0x7fffffff);
  ReadHeader(reader, source, image);
  const size_t rowBytes = size_t(image.Width) * size_t(image.SamplesPerPixel) * size_t(image.BytesPerSample());
  std::vector<png_bytep> rows(size_t(image.Height));
  for (size_t r = 0; r < rows.size(); ++r) rows[r] = image.Samples.data() + r * rowBytes;
  ReadRows(reader, source, rows.data());
}

}  // namespace

bool HasPngSignature(std::span<const uint8_t> bytes) {
  return bytes.size() >= 8 && png_sig_cmp(bytes.data(), 0, 8) == 0;
}

TResult ReadPngBytes(std::span<const uint8_t> bytes, const std::string& fileName, TRawImage& image) {
  return RunImageReader(kPngReadFailure, fileName, image, [&] { DecodePng(bytes, image); });
}

}  // namespace lumacet
