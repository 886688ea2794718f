#pragma once
// What the panel shows, written down for whoever clicks it from outside: the end-to-end tests
// find a phrase or candidate where the program really drew it, whatever the width of its text
// in the fonts of the machine.

#include <string>

#include "session/composition_panel.h"

namespace tvime {

// One line per item the panel shows now: "KIND VALUE LEFT TOP RIGHT BOTTOM LABEL", in client
// coordinates of the composition window at the scale it is drawn at. The label is UTF-8; a
// character cell's label is its character.
std::string DescribeVisibleItems(const CompositionPanel& panel);

// Keeps a file holding DescribeVisibleItems up to date. The file is replaced whole, so a reader
// never sees half a layout.
class LayoutReport {
 public:
  explicit LayoutReport(std::string path) : path_(std::move(path)) {}

  // Rewrites the file when what the panel shows has changed since the last write.
  void Update(const CompositionPanel& panel);

 private:
  std::string path_;
  std::string written_;
  bool everWritten_ = false;
};

}  // namespace tvime
