#include "session/layout_report.h"

#include "base/file_io.h"
#include "base/gbk.h"

namespace tvime {

std::string DescribeVisibleItems(const CompositionPanel& panel) {
  std::string layout;
  const Subpanel& subpanel = panel.currentSubpanel();
  for (const PanelItem& item : subpanel.VisibleItems()) {
    // Where the window draws the item, at the scale it is drawn at.
    Rect rect = panel.scale().Of(item.rect);
    // Characters carry no label: their text is what a right click there would look up.
    std::string label = item.label.empty() ? subpanel.RightClickText((rect.left + rect.right) / 2,
                                                                     (rect.top + rect.bottom) / 2)
                                           : item.label;
    layout += std::to_string(item.kind) + " " + std::to_string(item.value) + " " +
              std::to_string(rect.left) + " " + std::to_string(rect.top) + " " +
              std::to_string(rect.right) + " " + std::to_string(rect.bottom) + " " +
              GbkToUtf8(label) + "\n";
  }
  return layout;
}

void LayoutReport::Update(const CompositionPanel& panel) {
  std::string layout = DescribeVisibleItems(panel);
  if (everWritten_ && layout == written_) return;
  if (ReplaceFileContents(path_, layout)) {
    written_ = std::move(layout);
    everWritten_ = true;
  }
}

}  // namespace tvime
