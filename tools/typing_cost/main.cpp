// tvime-typing-cost: the clicks a user who knows the strokes needs to type a text with the
// stroke panel, taking the cheapest way the panel offers at every step.
//
//   tvime-typing-cost [--dict DIR] [--big] [--whole-run] [--trace] FILE
//
// FILE is UTF-8. Hanzi are typed by clicks on a real panel over the dictionaries; everything else
// is typed on the keyboard and costs nothing. Each step takes the action with the fewest clicks
// per character it commits; with --whole-run each run of hanzi is typed with the fewest clicks
// in all. --big searches the large character set; without it only the common characters.
// --trace writes every action to standard error.

#include <fstream>
#include <iostream>
#include <sstream>
#include <string>

#include "tools/typing_cost/typing_cost.h"

namespace {

int Usage() {
  std::cerr << "usage: tvime-typing-cost [--dict DIR] [--big] [--whole-run] [--trace] FILE\n";
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dictDir = TVIME_DICT_DIR;
  std::string path;
  bool big = false, wholeRun = false, trace = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--dict" && i + 1 < argc) {
      dictDir = argv[++i];
    } else if (arg == "--big") {
      big = true;
    } else if (arg == "--whole-run") {
      wholeRun = true;
    } else if (arg == "--trace") {
      trace = true;
    } else if (path.empty() && !arg.starts_with("--")) {
      path = arg;
    } else {
      return Usage();
    }
  }
  if (path.empty()) return Usage();

  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) {
    std::cerr << "tvime-typing-cost: cannot read " << path << "\n";
    return 1;
  }

  tvime::DirectoryResources resources(dictDir);
  tvime::TypingSimulator simulator(
      resources, big, wholeRun ? tvime::PlanningRule::WholeRun : tvime::PlanningRule::PerAction);
  if (!simulator.Loaded()) {
    std::cerr << "tvime-typing-cost: no character dictionary in " << dictDir << "\n";
    return 1;
  }
  if (trace) simulator.SetTrace(&std::cerr);
  std::string error;
  if (!simulator.Type(text.str(), error)) {
    std::cerr << "tvime-typing-cost: " << path << ": " << error << "\n";
    return 1;
  }
  tvime::WriteTypingCost(simulator.cost(), std::cout);
  return 0;
}
