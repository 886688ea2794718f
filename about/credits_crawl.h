#pragma once
// The credits of the about dialog: stars flying towards the viewer behind lines of text that
// crawl upwards in perspective. The arithmetic of a frame; the dialog draws it with GDI.

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tvime {

inline constexpr int kStarCount = 100;
inline constexpr int kStarStep = 30;         // z decrease per frame
inline constexpr int kFirstScrollStep = 10;  // pixels per frame before calibration
inline constexpr unsigned kCrawlFrameMs = 75;

struct Star {
  std::int32_t x = 0, y = 0, z = 0;
};

// x and y from -512 to 512, z from -256 to 256, from successive values of `random` (>= 0).
Star SeedStar(const std::function<int()>& random);

// The star comes `step` nearer; one that reaches the viewer comes back at the far end (z 255)
// and one beyond the far end at the near end, so that the field never empties.
void MoveStar(Star& star, int step);

struct ScreenPoint {
  int x = 0, y = 0;
};
// Where the star shows on a client area of `width` x `height`.
ScreenPoint ProjectStar(const Star& star, int width, int height);

// The grey of a star: the low byte of ~z (255 at the far end is black, 0 white).
std::uint8_t StarShade(std::int32_t z);

// The scroll step for a first frame that took `frameMs`: 10 x frameMs / 50, kept within 3..5.
int ScrollStepFor(unsigned frameMs);

struct CrawlLine {
  size_t index;  // into the credits' lines
  int y;
  std::uint8_t red, green, blue;  // darkens to black towards the top
};
struct CrawlFrame {
  std::vector<CrawlLine> lines;  // the lines below the top edge
  bool restart = false;          // the last line has left: start again from the bottom
};
// The lines of a frame whose first line is at `offset`, each `lineHeight` high.
CrawlFrame PlaceCrawlLines(int offset, int lineHeight, size_t lineCount);

struct RowSpan {
  int left, width;
};
// Row `row` of the text layer is stretched to this span of the full width: narrow at the top,
// full width at the bottom, centred.
RowSpan PerspectiveRow(int row, int width, int height);

// The credits text as lines: split at LF, each cut to 1023 bytes, trailing CR dropped; empty
// lines are kept (they space the crawl).
std::vector<std::string> CreditLines(std::string_view text);

}  // namespace tvime
