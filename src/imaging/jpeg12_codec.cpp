#include "imaging/jpeg12_codec.h"

#include <csetjmp>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <new>
#include <string>
#include <vector>

#include "imaging/medical_readers.h"

// The 12-bit library's types share their names with the 8-bit libjpeg's; a namespace of
// their own keeps the two apart in one program (its functions carry prefixed names).
namespace lumacet::jpeg12 {
extern "C" {
#include <gdcmjpeg/12/jpeglib.h>
}
}  // namespace lumacet::jpeg12

namespace lumacet {

namespace {

using namespace jpeg12;

// As in the 8-bit codec: the error manager jumps back, and everything the jump must keep
// lives on the heap.
struct TJpeg12State {
  jpeg_error_mgr Error{};
  jpeg_source_mgr Source{};
  std::jmp_buf Jump{};
  jpeg_decompress_struct Decompress{};
  std::span<const uint8_t> Bytes;
  bool RanOut = false;
  // The decoded rows: nothing between the jump's setting and its landing owns memory.
  std::vector<uint8_t> Samples;
  std::vector<JSAMPLE> Line;
  char Reason[JMSG_LENGTH_MAX] = {};
};

TJpeg12State& StateOf(j_common_ptr info) { return *reinterpret_cast<TJpeg12State*>(info->err); }

[[noreturn]] void JumpOut(j_common_ptr info) {
  (*info->err->format_message)(info, StateOf(info).Reason);
  std::longjmp(StateOf(info).Jump, 1);
}

void Silent(j_common_ptr) {}

void InitSource(j_decompress_ptr) {}
void TermSource(j_decompress_ptr) {}

// The whole stream is handed over at once; a decoder asking for more has reached the end
// of the data, and gets an end-of-image marker so that it stops.
boolean FillInput(j_decompress_ptr info) {
  static const JOCTET kEnd[2] = {0xFF, JPEG_EOI};
  StateOf(reinterpret_cast<j_common_ptr>(info)).RanOut = true;
  info->src->next_input_byte = kEnd;
  info->src->bytes_in_buffer = 2;
  return TRUE;
}

void SkipInput(j_decompress_ptr info, long count) {
  if (count <= 0) return;
  if (size_t(count) > info->src->bytes_in_buffer) {
    FillInput(info);
    return;
  }
  info->src->next_input_byte += count;
  info->src->bytes_in_buffer -= size_t(count);
}

}  // namespace

TJpegFrameKind JpegFrameKind(std::span<const uint8_t> stream) {
  size_t pos = 2;
  if (stream.size() < 4 || stream[0] != 0xFF || stream[1] != 0xD8) return {};
  while (pos + 4 <= stream.size()) {
    if (stream[pos] != 0xFF) return {};
    const uint8_t marker = stream[pos + 1];
    if (marker == 0xFF) {
      ++pos;
      continue;
    }
    const size_t length = size_t(stream[pos + 2]) << 8 | stream[pos + 3];
    // Start of frame: C0 to CF except DHT (C4), JPG (C8) and DAC (CC).
    if (marker >= 0xC0 && marker <= 0xCF && marker != 0xC4 && marker != 0xC8 && marker != 0xCC) {
      if (pos + 5 > stream.size()) return {};
      return {stream[pos + 4], marker == 0xC3 || marker == 0xC7 || marker == 0xCB || marker == 0xCF};
    }
    if (marker == 0xDA || marker == 0xD9 || length < 2) return {};
    pos += 2 + length;
  }
  return {};
}

void DecodeJpeg12(std::span<const uint8_t> stream, int64_t maxPixels, TRawImage& image) {
  auto state = std::make_unique<TJpeg12State>();
  state->Bytes = stream;
  jpeg_decompress_struct& info = state->Decompress;
  jpeg_std_error(&state->Error);
  state->Error.error_exit = JumpOut;
  state->Error.output_message = Silent;
  info.err = &state->Error;
  if (setjmp(state->Jump)) {
    jpeg_destroy_decompress(&info);
    throw TImageReadError{"The JPEG data cannot be decoded: " + std::string(state->Reason)};
  }
  jpeg_create_decompress(&info);
  state->Source.init_source = InitSource;
  state->Source.fill_input_buffer = FillInput;
  state->Source.skip_input_data = SkipInput;
  state->Source.resync_to_restart = jpeg_resync_to_restart;
  state->Source.term_source = TermSource;
  state->Source.next_input_byte = stream.data();
  state->Source.bytes_in_buffer = stream.size();
  info.src = &state->Source;
  jpeg_read_header(&info, TRUE);
  const int components = info.num_components;
  std::string failure;
  bool tooLarge = false;
  if (components != 1 && components != 3) {
    failure = "Only grey and three-component JPEG images can be read.";
  } else if (int64_t{info.image_width} * info.image_height > maxPixels) {
    tooLarge = true;
  }
  if (failure.empty() && !tooLarge) {
    try {
      CheckImageLimits(info.image_width, info.image_height, uint64_t(components), 2,
                       uint64_t{info.image_width} * info.image_height * uint64_t(components) * 2, stream.size());
    } catch (const TImageReadError& error) {
      failure = error.Reason;
    }
  }
  if (!failure.empty() || tooLarge) {
    jpeg_destroy_decompress(&info);
    if (tooLarge) throw TImageReadError{"The JPEG image is larger than the image it belongs to."};
    throw TImageReadError{failure};
  }
  info.dct_method = JDCT_ISLOW;
  info.do_fancy_upsampling = TRUE;
  info.out_color_space = components == 1 ? JCS_GRAYSCALE : JCS_RGB;
  jpeg_start_decompress(&info);
  const size_t width = info.output_width, height = info.output_height;
  try {
    state->Samples.resize(width * height * size_t(components) * 2);
    state->Line.resize(width * size_t(components));
  } catch (const std::bad_alloc&) {
    jpeg_destroy_decompress(&info);
    throw;
  }
  const JSAMPLE* line = state->Line.data();
  while (info.output_scanline < info.output_height) {
    uint8_t* out = state->Samples.data() + size_t(info.output_scanline) * width * size_t(components) * 2;
    JSAMPROW row = state->Line.data();
    if (jpeg_read_scanlines(&info, &row, 1) != 1) break;
    for (size_t x = 0; x < width; ++x) {
      for (int c = 0; c < components; ++c) {
        // Colour is stored blue first.
        const auto value = uint16_t(line[x * size_t(components) + size_t(components - 1 - c)] & 0x0FFF);
        out[2 * (x * size_t(components) + size_t(c))] = uint8_t(value);
        out[2 * (x * size_t(components) + size_t(c)) + 1] = uint8_t(value >> 8);
      }
    }
  }
  jpeg_finish_decompress(&info);
  const bool damaged = state->RanOut || state->Error.num_warnings > 0;
  jpeg_destroy_decompress(&info);
  if (damaged) throw TImageReadError{"The JPEG data are damaged or end early."};
  TRawImage result;
  result.Samples = std::move(state->Samples);
  result.Width = int32_t(width);
  result.Height = int32_t(height);
  result.SamplesPerPixel = components;
  result.BitsPerSample = 12;
  image = std::move(result);
}

}  // namespace lumacet
