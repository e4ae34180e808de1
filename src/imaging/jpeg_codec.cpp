#include "imaging/jpeg_codec.h"

#include <algorithm>
#include <bit>
#include <csetjmp>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <vector>

#include <jpeglib.h>
#include <jerror.h>

#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

static_assert(std::endian::native == std::endian::little,
              "the display bitmap's pixels are handed to libjpeg as blue-green-red-x bytes");

// A progressive file may hold any number of scans, each a pass over the whole image; a
// few hundred bytes could keep the decoder busy for minutes. Real files have about ten.
constexpr int kMaxScans = 500;
// Huffman coding spends at least one bit on every 8 x 8 block, so a file of n bytes holds at
// most 512 n pixels; a header that claims more is refused before the picture's memory is
// taken. (Arithmetic coding can go below a bit a block and is not bounded this way.)
constexpr std::int64_t kMaxPixelsPerByte = 8 * 64;

// libjpeg reports errors by calling error_exit, which must not return; its default ends
// the process. Ours jumps back into the function that started the work. Everything the
// jump must keep lives in this heap object, so no local changes between setjmp and longjmp.
struct TJpegState {
  jpeg_error_mgr Error{};
  jpeg_progress_mgr Progress{};
  std::jmp_buf Jump{};
  jpeg_decompress_struct Decompress{};
  jpeg_compress_struct Compress{};
  unsigned char* Output = nullptr;  // the encoder's buffer, malloc'ed by libjpeg
  unsigned long OutputSize = 0;
  char Reason[JMSG_LENGTH_MAX] = {};

  ~TJpegState() { std::free(Output); }
};

// The error manager is the first member of the state.
TJpegState& StateOf(j_common_ptr info) { return *reinterpret_cast<TJpegState*>(info->err); }

[[noreturn]] void JumpOut(j_common_ptr info) {
  (*info->err->format_message)(info, StateOf(info).Reason);
  std::longjmp(StateOf(info).Jump, 1);
}

// Stray bytes before a marker are common in files that display well and are passed over.
// Data that end early or do not decode mean part of the picture would be the decoder's grey
// fill, which a radiograph must never silently show: those warnings refuse the file.
void OnMessage(j_common_ptr info, int level) {
  if (level >= 0) return;  // trace output
  switch (info->err->msg_code) {
    case JWRN_JPEG_EOF:
    case JWRN_HIT_MARKER:
    case JWRN_HUFF_BAD_CODE:
    case JWRN_MUST_RESYNC:
    case JWRN_NOT_SEQUENTIAL:
    case JWRN_BOGUS_PROGRESSION: {
      char detail[JMSG_LENGTH_MAX];
      (*info->err->format_message)(info, detail);
      std::snprintf(StateOf(info).Reason, sizeof StateOf(info).Reason, "The file is damaged or incomplete (%.150s).",
                    detail);
      std::longjmp(StateOf(info).Jump, 1);
    }
    default:
      return;
  }
}

void LimitScans(j_common_ptr info) {
  auto* decompress = reinterpret_cast<j_decompress_ptr>(info);
  if (decompress->input_scan_number > kMaxScans) {
    std::snprintf(StateOf(info).Reason, sizeof StateOf(info).Reason, "The file holds more than %d scans.", kMaxScans);
    std::longjmp(StateOf(info).Jump, 1);
  }
}

void InstallErrorManager(TJpegState& state) {
  jpeg_std_error(&state.Error);
  state.Error.error_exit = JumpOut;
  state.Error.emit_message = OnMessage;
}

std::uint8_t Product255(int a, int b) { return static_cast<std::uint8_t>((a * b + 127) / 255); }

// One decoded row of CMYK (Adobe files store it inverted) as blue, green, red.
void CmykToBgr(const std::uint8_t* cmyk, std::uint8_t* bgr, int width, bool inverted) {
  for (int x = 0; x < width; ++x) {
    int c = cmyk[4 * x], m = cmyk[4 * x + 1], y = cmyk[4 * x + 2], k = cmyk[4 * x + 3];
    if (!inverted) {
      c = 255 - c;
      m = 255 - m;
      y = 255 - y;
      k = 255 - k;
    }
    bgr[3 * x] = Product255(y, k);
    bgr[3 * x + 1] = Product255(m, k);
    bgr[3 * x + 2] = Product255(c, k);
  }
}

}  // namespace

bool DecodeJpeg(std::string_view bytes, TRawImage& image, TImageReadError& error, std::int64_t maxPixels) {
  TRawImage result;
  std::vector<std::uint8_t> cmykRow;
  std::unique_ptr<TJpegState> state;
  try {
    state = std::make_unique<TJpegState>();
  } catch (const std::bad_alloc&) {
    error.Reason.clear();
    return false;
  }
  jpeg_decompress_struct& info = state->Decompress;
  InstallErrorManager(*state);
  info.err = &state->Error;
  state->Progress.progress_monitor = LimitScans;
  if (setjmp(state->Jump)) {
    jpeg_destroy_decompress(&info);
    error.Reason = state->Reason;
    return false;
  }
  jpeg_create_decompress(&info);
  info.progress = &state->Progress;
  jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.data()), static_cast<unsigned long>(bytes.size()));
  jpeg_read_header(&info, TRUE);
  if (std::int64_t{info.image_width} * info.image_height > std::min(maxPixels, kMaxImagePixels)) {
    jpeg_destroy_decompress(&info);
    error.Reason.clear();
    return false;
  }
  if (!info.arith_code &&
      std::int64_t{info.image_width} * info.image_height > static_cast<std::int64_t>(bytes.size()) * kMaxPixelsPerByte) {
    jpeg_destroy_decompress(&info);
    error.Reason = "The file is too short for the picture its header claims.";
    return false;
  }
  info.dct_method = JDCT_ISLOW;
  info.do_fancy_upsampling = TRUE;
  const bool cmyk = info.jpeg_color_space == JCS_CMYK || info.jpeg_color_space == JCS_YCCK;
  const bool grey = info.jpeg_color_space == JCS_GRAYSCALE;
  info.out_color_space = grey ? JCS_GRAYSCALE : cmyk ? JCS_CMYK : JCS_EXT_BGR;
  jpeg_start_decompress(&info);

  const int width = static_cast<int>(info.output_width);
  const int height = static_cast<int>(info.output_height);
  const int spp = grey ? 1 : 3;
  const std::size_t rowBytes = static_cast<std::size_t>(width) * static_cast<std::size_t>(spp);
  try {
    result.Samples.resize(rowBytes * static_cast<std::size_t>(height));
    if (cmyk) cmykRow.resize(static_cast<std::size_t>(width) * 4);
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&info);
    error.Reason.clear();
    return false;
  }
  while (info.output_scanline < info.output_height) {
    std::uint8_t* row = result.Samples.data() + rowBytes * info.output_scanline;
    JSAMPROW target = cmyk ? cmykRow.data() : row;
    if (jpeg_read_scanlines(&info, &target, 1) != 1) break;
    if (cmyk) CmykToBgr(cmykRow.data(), row, width, info.saw_Adobe_marker);
  }
  jpeg_finish_decompress(&info);
  jpeg_destroy_decompress(&info);

  result.Width = width;
  result.Height = height;
  result.SamplesPerPixel = spp;
  result.BitsPerSample = 8;
  image = std::move(result);
  return true;
}

bool EncodeJpeg(const TBitmap32& bitmap, const TJpegOptions& options, std::string& bytes, std::string& reason) {
  if (bitmap.Empty()) {
    reason = "There is no image.";
    return false;
  }
  std::unique_ptr<TJpegState> state;
  try {
    state = std::make_unique<TJpegState>();
  } catch (const std::bad_alloc&) {
    reason = "Memory insufficient.";
    return false;
  }
  jpeg_compress_struct& info = state->Compress;
  InstallErrorManager(*state);
  info.err = &state->Error;
  if (setjmp(state->Jump)) {
    jpeg_destroy_compress(&info);
    reason = state->Reason;
    return false;
  }
  jpeg_create_compress(&info);
  jpeg_mem_dest(&info, &state->Output, &state->OutputSize);
  info.image_width = static_cast<JDIMENSION>(bitmap.Width);
  info.image_height = static_cast<JDIMENSION>(bitmap.Height);
  info.input_components = 4;
  info.in_color_space = JCS_EXT_BGRX;
  jpeg_set_defaults(&info);
  jpeg_set_quality(&info, std::clamp(options.Quality, 1, 100), TRUE);
  if (options.Grayscale) jpeg_set_colorspace(&info, JCS_GRAYSCALE);
  info.dct_method = JDCT_ISLOW;
  jpeg_start_compress(&info, TRUE);
  while (info.next_scanline < info.image_height) {
    // libjpeg only reads through the row pointer.
    JSAMPROW row = reinterpret_cast<JSAMPROW>(const_cast<std::uint32_t*>(bitmap.Row(static_cast<int>(info.next_scanline))));
    jpeg_write_scanlines(&info, &row, 1);
  }
  jpeg_finish_compress(&info);
  jpeg_destroy_compress(&info);
  bytes.assign(reinterpret_cast<const char*>(state->Output), state->OutputSize);
  return true;
}

}  // namespace lumacet
