// Reading a 3000 x 2400 x 12-bit DICOM radiograph, lossless JPEG and native, from file to
// raw image. The files are large, so they are made outside the repository:
//   scripts/make_image_corpus.sh --bench /tmp/lumacet-bench [build/bench/bench_dicom_bench]
// which also times dcmdjpeg and this program as whole processes on the same file. Another
// folder can be named in LUMACET_DICOM_BENCH_DIR.
#include <benchmark/benchmark.h>

#include <cstdlib>
#include <string>

#include "imaging/medical_readers.h"

namespace lumacet {
namespace {

std::string BenchFile(const char* name) {
  const char* folder = std::getenv("LUMACET_DICOM_BENCH_DIR");
  return std::string(folder ? folder : "/tmp/lumacet-bench") + "/" + name;
}

void ReadDicomFile(benchmark::State& state, const char* name) {
  const std::string path = BenchFile(name);
  for (auto _ : state) {
    TRawImage image;
    TDicomInfo info;
    if (const TResult read = ReadDicom(path, image, info); !read) {
      state.SkipWithError(read.Text().English().c_str());
      return;
    }
    benchmark::DoNotOptimize(image.Samples.data());
  }
  state.SetItemsProcessed(state.iterations() * 3000 * 2400);
}

void BM_ReadLosslessDicom(benchmark::State& state) { ReadDicomFile(state, "ceph-3000x2400-12bit-sv1.dcm"); }
void BM_ReadNativeDicom(benchmark::State& state) { ReadDicomFile(state, "ceph-3000x2400-12bit.dcm"); }

BENCHMARK(BM_ReadLosslessDicom)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ReadNativeDicom)->Unit(benchmark::kMillisecond);
// One read and nothing else, for timing the whole process against dcmdjpeg's.
BENCHMARK(BM_ReadLosslessDicom)->Name("BM_ReadLosslessDicomOnce")->Iterations(1)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace lumacet
