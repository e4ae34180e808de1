#include "imaging/dicom_codecs.h"

#include <charls/charls.h>
#include <openjpeg.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <memory>
#include <string>
#include <thread>

#include "imaging/jpeg12_codec.h"
#include "imaging/jpeg_codec.h"
#include "imaging/medical_readers.h"

namespace lumacet {

namespace {

constexpr const char* kWrongFrame = "The compressed image's size or components differ from the image's own.";

// Refuses a frame that is not the one the data set declares, or that its stream could
// not hold, before anything is allocated for it.
void CheckFrame(uint64_t width, uint64_t height, uint64_t components, uint64_t precision, const TCodedFrame& expected,
                uint64_t streamSize) {
  if (width != uint64_t(expected.Columns) || height != uint64_t(expected.Rows) ||
      components != uint64_t(expected.SamplesPerPixel))
    throw TImageReadError{kWrongFrame};
  if (precision < 1 || precision > uint64_t(expected.BitsAllocated))
    throw TImageReadError{"The compressed image has more bits per sample than the image allocates."};
  const uint64_t bytes = precision > 8 ? 2 : 1;
  CheckImageLimits(width, height, components, bytes, width * height * components * bytes, streamSize);
}

void StartFrame(TDecodedFrame& frame, const TCodedFrame& expected, int32_t precision) {
  frame.Width = expected.Columns;
  frame.Height = expected.Rows;
  frame.Components = expected.SamplesPerPixel;
  frame.Precision = precision;
  frame.ConvertedToRgb = false;
  frame.Samples.assign(size_t(expected.Columns) * size_t(expected.Rows) * size_t(expected.SamplesPerPixel), 0);
}

// ---- JPEG: 8 bits through libjpeg-turbo, 12 bits through GDCM's IJG build ----------------
void DecodeJpegFrame(std::span<const uint8_t> stream, const TCodedFrame& expected, TDecodedFrame& frame) {
  const TJpegFrameKind kind = JpegFrameKind(stream);
  if (kind.Lossless) throw TImageReadError{"The JPEG stream is lossless, but the transfer syntax is lossy."};
  const int64_t pixels = int64_t(expected.Rows) * expected.Columns;
  TRawImage decoded;
  if (kind.Precision == 12) {
    DecodeJpeg12(stream, pixels, decoded);
  } else {
    TImageReadError error;
    const std::string_view bytes(reinterpret_cast<const char*>(stream.data()), stream.size());
    if (!DecodeJpeg(bytes, decoded, error, pixels))
      throw TImageReadError{error.Reason.empty() ? std::string(kWrongFrame) : "The JPEG data cannot be decoded: " + error.Reason};
  }
  CheckFrame(uint64_t(decoded.Width), uint64_t(decoded.Height), uint64_t(decoded.SamplesPerPixel),
             uint64_t(decoded.BitsPerSample), expected, stream.size());
  StartFrame(frame, expected, decoded.BitsPerSample);
  frame.ConvertedToRgb = decoded.SamplesPerPixel == 3;
  const int components = decoded.SamplesPerPixel;
  const size_t count = frame.Samples.size();
  for (size_t i = 0; i < count; ++i) {
    // The decoder gives colour blue first; the frame keeps coded order.
    const size_t from = components == 3 ? i - i % 3 + (2 - i % 3) : i;
    frame.Samples[i] = decoded.BitsPerSample > 8
                           ? uint16_t(decoded.Samples[2 * from] | decoded.Samples[2 * from + 1] << 8)
                           : decoded.Samples[from];
  }
}

// ---- JPEG-LS through CharLS ----------------------------------------------------------------
void DecodeJpegLsFrame(std::span<const uint8_t> stream, const TCodedFrame& expected, TDecodedFrame& frame) {
  try {
    charls::jpegls_decoder decoder(stream.data(), stream.size(), true);
    const charls::frame_info info = decoder.frame_info();
    CheckFrame(info.width, info.height, uint64_t(info.component_count), uint64_t(info.bits_per_sample), expected,
               stream.size());
    const size_t size = decoder.destination_size();
    const size_t bytes = info.bits_per_sample > 8 ? 2 : 1;
    const size_t samples = size_t(info.width) * info.height * size_t(info.component_count);
    if (size != samples * bytes) throw TImageReadError{kWrongFrame};
    StartFrame(frame, expected, info.bits_per_sample);
    // Without interleaving the components come plane after plane.
    const bool planar = decoder.interleave_mode() == charls::interleave_mode::none && info.component_count > 1;
    // 16-bit samples interleaved come in host order, as the frame keeps them: decoded in
    // place, without a second image's worth of memory and a copy.
    if (bytes == 2 && !planar && frame.Samples.size() == samples) {
      decoder.decode(frame.Samples.data(), size);
      return;
    }
    std::vector<uint8_t> decoded(size);
    decoder.decode(decoded.data(), decoded.size());
    const size_t components = size_t(info.component_count), plane = size_t(info.width) * info.height;
    for (size_t i = 0; i < samples; ++i) {
      const size_t from = planar ? (i % components) * plane + i / components : i;
      frame.Samples[i] = bytes == 2 ? uint16_t(decoded[2 * from] | decoded[2 * from + 1] << 8) : decoded[from];
    }
  } catch (const charls::jpegls_error& error) {
    throw TImageReadError{std::string("The JPEG-LS data cannot be decoded: ") + error.what()};
  }
}

// ---- JPEG 2000 through OpenJPEG ------------------------------------------------------------
struct TMemoryStream {
  std::span<const uint8_t> Bytes;
  size_t Position = 0;
};

OPJ_SIZE_T ReadStream(void* buffer, OPJ_SIZE_T count, void* user) {
  auto* source = static_cast<TMemoryStream*>(user);
  const size_t left = source->Bytes.size() - source->Position;
  if (left == 0) return OPJ_SIZE_T(-1);
  const size_t taken = std::min<size_t>(left, count);
  std::memcpy(buffer, source->Bytes.data() + source->Position, taken);
  source->Position += taken;
  return taken;
}

OPJ_OFF_T SkipStream(OPJ_OFF_T count, void* user) {
  auto* source = static_cast<TMemoryStream*>(user);
  if (count < 0) return -1;
  const size_t taken = std::min<size_t>(source->Bytes.size() - source->Position, size_t(count));
  source->Position += taken;
  return OPJ_OFF_T(taken);
}

OPJ_BOOL SeekStream(OPJ_OFF_T to, void* user) {
  auto* source = static_cast<TMemoryStream*>(user);
  if (to < 0 || uint64_t(to) > source->Bytes.size()) return OPJ_FALSE;
  source->Position = size_t(to);
  return OPJ_TRUE;
}

void KeepMessage(const char* message, void* user) {
  auto* reason = static_cast<std::string*>(user);
  if (reason->empty()) {
    *reason = message;
    while (!reason->empty() && reason->back() == '\n') reason->pop_back();
  }
}

void IgnoreMessage(const char*, void*) {}

// The codec and the stream are both untyped handles, hence one deleter each.
struct TCodecDeleter {
  void operator()(opj_codec_t* codec) const { opj_destroy_codec(codec); }
};
struct TStreamDeleter {
  void operator()(opj_stream_t* stream) const { opj_stream_destroy(stream); }
};
struct TImageDeleter {
  void operator()(opj_image_t* image) const { opj_image_destroy(image); }
};

void DecodeJpeg2000Frame(std::span<const uint8_t> stream, const TCodedFrame& expected, TDecodedFrame& frame) {
  // A JP2 file starts with its signature box; DICOM normally holds the bare codestream.
  static constexpr uint8_t kJp2[] = {0, 0, 0, 0x0C, 'j', 'P', ' ', ' '};
  const bool jp2 = stream.size() >= 8 && std::memcmp(stream.data(), kJp2, 8) == 0;
  TMemoryStream source{stream};
  std::unique_ptr<opj_stream_t, TStreamDeleter> input(opj_stream_create(OPJ_J2K_STREAM_CHUNK_SIZE, OPJ_TRUE));
  std::unique_ptr<opj_codec_t, TCodecDeleter> codec(opj_create_decompress(jp2 ? OPJ_CODEC_JP2 : OPJ_CODEC_J2K));
  if (!input || !codec) throw std::bad_alloc();
  opj_stream_set_user_data(input.get(), &source, nullptr);
  opj_stream_set_user_data_length(input.get(), stream.size());
  opj_stream_set_read_function(input.get(), ReadStream);
  opj_stream_set_skip_function(input.get(), SkipStream);
  opj_stream_set_seek_function(input.get(), SeekStream);
  std::string reason;
  opj_set_error_handler(codec.get(), KeepMessage, &reason);
  opj_set_warning_handler(codec.get(), IgnoreMessage, nullptr);
  opj_set_info_handler(codec.get(), IgnoreMessage, nullptr);
  opj_dparameters_t parameters;
  opj_set_default_decoder_parameters(&parameters);
  const auto fail = [&] { throw TImageReadError{"The JPEG 2000 data cannot be decoded: " + reason}; };
  if (!opj_setup_decoder(codec.get(), &parameters)) fail();
  // Code blocks decode independently: a 3000 x 2400 film is several hundred of them, and
  // every core the machine has shortens the wait for the picture.
  if (opj_has_thread_support())
    opj_codec_set_threads(codec.get(), int(std::clamp(std::thread::hardware_concurrency(), 1u, 8u)));
  opj_image_t* header = nullptr;
  if (!opj_read_header(input.get(), codec.get(), &header)) {
    opj_image_destroy(header);
    fail();
  }
  std::unique_ptr<opj_image_t, TImageDeleter> image(header);
  const uint64_t width = image->x1 - image->x0, height = image->y1 - image->y0;
  if (image->numcomps == 0) throw TImageReadError{kWrongFrame};
  for (OPJ_UINT32 c = 0; c < image->numcomps; ++c) {
    const opj_image_comp_t& component = image->comps[c];
    if (component.dx != 1 || component.dy != 1 || component.prec != image->comps[0].prec)
      throw TImageReadError{"The JPEG 2000 components are subsampled or of different depths."};
  }
  CheckFrame(width, height, image->numcomps, image->comps[0].prec, expected, stream.size());
  if (!opj_decode(codec.get(), input.get(), image.get()) || !opj_end_decompress(codec.get(), input.get())) fail();
  const int precision = int(image->comps[0].prec);
  StartFrame(frame, expected, precision);
  const size_t components = image->numcomps, plane = size_t(width) * size_t(height);
  const int32_t top = int32_t((uint32_t{1} << precision) - 1);
  for (size_t c = 0; c < components; ++c) {
    const opj_image_comp_t& component = image->comps[c];
    if (component.data == nullptr || component.w != width || component.h != height) fail();
    for (size_t i = 0; i < plane; ++i) {
      const int32_t value = component.data[i];
      // Signed samples become the two's-complement cells DICOM stores.
      frame.Samples[i * components + c] =
          uint16_t(component.sgnd ? uint32_t(value) & uint32_t(top) : uint32_t(std::clamp(value, 0, top)));
    }
  }
}

// ---- RLE (PS3.5 annex G) -------------------------------------------------------------------
void DecodeRleFrame(std::span<const uint8_t> stream, const TCodedFrame& expected, TDecodedFrame& frame) {
  const char* broken = "The RLE data are malformed.";
  if (expected.BitsAllocated % 8 != 0) throw TImageReadError{"RLE pixel cells must be whole bytes."};
  const uint32_t bytesPerCell = uint32_t(expected.BitsAllocated) / 8;
  const uint32_t segments = uint32_t(expected.SamplesPerPixel) * bytesPerCell;
  TByteSource in(stream, false);
  if (!in.Has(0, 64)) throw TImageReadError{broken};
  if (in.U32(0, broken) != segments) throw TImageReadError{"The RLE data hold another number of segments than the image needs."};
  const size_t plane = size_t(expected.Rows) * size_t(expected.Columns);
  // Each segment is a plane of bytes of its own, and two stored bytes repeat one at most
  // 128 times.
  if (uint64_t(plane) * segments > (uint64_t(stream.size()) - 64) * 64)
    throw TImageReadError{"The file is far too small for the image it describes."};
  StartFrame(frame, expected, expected.BitsAllocated);
  const size_t components = size_t(expected.SamplesPerPixel);
  for (uint32_t segment = 0; segment < segments; ++segment) {
    const uint32_t start = in.U32(4 + 4 * segment, broken);
    const uint32_t end = segment + 1 < segments ? in.U32(8 + 4 * segment, broken) : uint32_t(stream.size());
    if (start < 64 || end < start || end > stream.size()) throw TImageReadError{broken};
    // The most significant byte of each cell comes first.
    const size_t component = segment / bytesPerCell;
    const int shift = int(8 * (bytesPerCell - 1 - segment % bytesPerCell));
    size_t pos = start, written = 0;
    auto put = [&](uint8_t value) {
      uint16_t& sample = frame.Samples[written * components + component];
      sample = uint16_t(sample | value << shift);
      ++written;
    };
    while (written < plane) {
      if (pos >= end) throw TImageReadError{"The RLE data end before the image."};
      const auto control = int8_t(stream[pos++]);
      if (control >= 0) {
        const size_t count = size_t(control) + 1;
        if (count > end - pos || count > plane - written) throw TImageReadError{broken};
        for (size_t i = 0; i < count; ++i) put(stream[pos + i]);
        pos += count;
      } else if (control != -128) {
        const size_t count = size_t(1 - control);
        if (pos >= end || count > plane - written) throw TImageReadError{broken};
        const uint8_t value = stream[pos++];
        for (size_t i = 0; i < count; ++i) put(value);
      }
    }
  }
}

}  // namespace

void DecodeDicomFrame(TDicomCodec codec, std::span<const uint8_t> stream, const TCodedFrame& expected,
                      TDecodedFrame& frame) {
  // The declared frame against the stream, before any codec takes memory for it.
  const uint64_t cells = uint64_t(expected.Rows) * uint64_t(expected.Columns) * uint64_t(expected.SamplesPerPixel);
  CheckImageLimits(uint64_t(expected.Columns), uint64_t(expected.Rows), uint64_t(expected.SamplesPerPixel),
                   expected.BitsAllocated > 8 ? 2 : 1, cells * (expected.BitsAllocated > 8 ? 2 : 1), stream.size());
  switch (codec) {
    case TDicomCodec::Jpeg: return DecodeJpegFrame(stream, expected, frame);
    case TDicomCodec::JpegLs: return DecodeJpegLsFrame(stream, expected, frame);
    case TDicomCodec::Jpeg2000: return DecodeJpeg2000Frame(stream, expected, frame);
    case TDicomCodec::Rle: return DecodeRleFrame(stream, expected, frame);
  }
}

std::vector<uint8_t> InflateDataSet(std::span<const uint8_t> deflated, uint64_t limit) {
  z_stream zs{};
  if (inflateInit2(&zs, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
  std::vector<uint8_t> out;
  zs.next_in = const_cast<Bytef*>(deflated.data());
  zs.avail_in = uInt(std::min<size_t>(deflated.size(), 1u << 30));
  int status = Z_OK;
  try {
    while (status == Z_OK) {
      if (out.size() >= limit) {
        inflateEnd(&zs);
        throw TImageReadError{"The deflated data set is larger than any image this program reads."};
      }
      const size_t have = out.size();
      out.resize(std::min<uint64_t>(limit, std::max<size_t>(have * 2, 1 << 16)));
      zs.next_out = out.data() + have;
      zs.avail_out = uInt(out.size() - have);
      status = inflate(&zs, Z_NO_FLUSH);
      out.resize(out.size() - zs.avail_out);
      if (status == Z_BUF_ERROR && zs.avail_in > 0) status = Z_OK;
    }
  } catch (const std::bad_alloc&) {
    inflateEnd(&zs);
    throw;
  }
  inflateEnd(&zs);
  if (status != Z_STREAM_END) throw TImageReadError{"The deflated data set is damaged or ends early."};
  return out;
}

}  // namespace lumacet
