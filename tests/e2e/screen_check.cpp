// Grabs the whole screen of the X display it runs on until the desktop program shows a
// tracing there, saves the picture and says whether it did. A tracing is told by its
// coloured lines and labels: the program's own chrome and the radiograph are grey.
//
//   lumacet_screen_check <picture.png> <seconds to wait>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QThread>

#include <algorithm>
#include <array>
#include <numeric>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace {

struct TCounts {
  long Lit = 0;  // not the black of the empty screen
  // Pixels of pure hues (red, green, blue and their mixtures, as pens and deviation
  // colours are), by which channels are lit; the chrome's tinted highlight is not one.
  std::array<long, 8> Hues{};
  long Coloured() const { return std::accumulate(Hues.begin() + 1, Hues.end(), 0L); }
  int HuesSeen() const {
    return static_cast<int>(std::count_if(Hues.begin() + 1, Hues.end(), [](long n) { return n >= 200; }));
  }
};

TCounts Count(const QImage& picture) {
  TCounts counts;
  for (int y = 0; y < picture.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(picture.constScanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      const std::array<int, 3> channels = {qRed(line[x]), qGreen(line[x]), qBlue(line[x])};
      if (channels[0] + channels[1] + channels[2] > 30) ++counts.Lit;
      int hue = 0;
      bool pure = true;
      for (int c = 0; c < 3; ++c) {
        if (channels[static_cast<size_t>(c)] > 100) {
          hue |= 1 << c;
        } else if (channels[static_cast<size_t>(c)] >= 60) {
          pure = false;
        }
      }
      if (pure && hue != 7) ++counts.Hues[static_cast<size_t>(hue)];
    }
  }
  return counts;
}

}  // namespace

int main(int argc, char* argv[]) {
  QGuiApplication application(argc, argv);
  if (argc != 3) {
    std::fprintf(stderr, "usage: lumacet_screen_check <picture.png> <seconds to wait>\n");
    return 2;
  }
  int seconds = 0;
  const std::string_view wait(argv[2]);
  if (std::from_chars(wait.data(), wait.data() + wait.size(), seconds).ec != std::errc() || seconds <= 0) {
    std::fprintf(stderr, "not a number of seconds: %s\n", argv[2]);
    return 2;
  }
  QScreen* screen = QGuiApplication::primaryScreen();
  if (screen == nullptr) {
    std::fprintf(stderr, "no screen\n");
    return 2;
  }
  // The window must cover a good part of the screen and show a tracing's worth of colour
  // in more than one pen.
  constexpr double kLitShare = 0.3;
  constexpr long kColouredPixels = 1500;
  constexpr int kHues = 2;
  QImage picture;
  TCounts counts;
  int settled = 0;
  for (int tick = 0; tick < seconds * 4; ++tick) {
    QThread::msleep(250);
    picture = screen->grabWindow(0).toImage().convertToFormat(QImage::Format_RGB32);
    counts = Count(picture);
    const long pixels = static_cast<long>(picture.width()) * picture.height();
    // Two more grabs after the colour first shows, so that the picture is the finished one.
    if (pixels > 0 && counts.Lit > kLitShare * pixels && counts.Coloured() >= kColouredPixels &&
        counts.HuesSeen() >= kHues && ++settled == 3)
      break;
  }
  if (!picture.save(QString::fromLocal8Bit(argv[1]))) {
    std::fprintf(stderr, "cannot write %s\n", argv[1]);
    return 1;
  }
  const long pixels = static_cast<long>(picture.width()) * picture.height();
  std::printf("screen %dx%d: %ld lit pixels, %ld coloured pixels in %d pens\n", picture.width(), picture.height(),
              counts.Lit, counts.Coloured(), counts.HuesSeen());
  if (pixels == 0 || counts.Lit <= kLitShare * pixels) {
    std::fprintf(stderr, "the screen stayed (nearly) blank: no window was shown\n");
    return 1;
  }
  if (counts.Coloured() < kColouredPixels || counts.HuesSeen() < kHues) {
    std::fprintf(stderr, "the window shows no tracing (%ld coloured pixels in %d pens; %ld in %d wanted)\n",
                 counts.Coloured(), counts.HuesSeen(), kColouredPixels, kHues);
    return 1;
  }
  return 0;
}
