#include "about/credits_crawl.h"

#include <algorithm>

namespace tvime {
namespace {

constexpr size_t kLineLimit = 1023;  // a 1024-byte line buffer with its NUL

}  // namespace

Star SeedStar(const std::function<int()>& random) {
  Star star;
  star.x = random() % 1025 - 512;
  star.y = random() % 1025 - 512;
  star.z = random() % 513 - 256;
  return star;
}

void MoveStar(Star& star, int step) {
  star.z -= step;
  if (star.z >= 256) {
    star.z = -255;
  } else if (star.z < -255) {
    star.z = 255;
  }
}

ScreenPoint ProjectStar(const Star& star, int width, int height) {
  // z + 256 is at least 1 after MoveStar; a freshly seeded star may sit at -256.
  int depth = std::max(star.z + 256, 1);
  return {star.x * 100 / depth + width / 2, star.y * 100 / depth + height / 2};
}

std::uint8_t StarShade(std::int32_t z) { return static_cast<std::uint8_t>(~z & 0xFF); }

int ScrollStepFor(unsigned frameMs) {
  return std::clamp(static_cast<int>(10 * frameMs / 50), 3, 5);
}

CrawlFrame PlaceCrawlLines(int offset, int lineHeight, size_t lineCount) {
  CrawlFrame frame;
  for (size_t i = 0; i < lineCount; ++i) {
    int y = offset + static_cast<int>(i) * lineHeight;
    if (y <= 0) {
      if (i + 1 == lineCount) frame.restart = true;
      continue;
    }
    auto shade = static_cast<std::uint8_t>(std::min(y, 255));
    if (y < 256) {
      frame.lines.push_back({i, y, shade, shade, 0});
    } else {
      frame.lines.push_back({i, y, 255, 255, 255});
    }
  }
  return frame;
}

RowSpan PerspectiveRow(int row, int width, int height) {
  int stretched = height > 0 ? width * row / height : width;
  return {(width - stretched) / 2, stretched};
}

std::vector<std::string> CreditLines(std::string_view text) {
  std::vector<std::string> lines;
  while (!text.empty()) {
    size_t end = std::min(text.find('\n'), text.size());
    size_t taken = std::min(end, kLineLimit);
    std::string line(text.substr(0, taken));
    text.remove_prefix(taken == end && end < text.size() ? end + 1 : taken);
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.pop_back();
    lines.push_back(std::move(line));
  }
  return lines;
}

}  // namespace tvime
