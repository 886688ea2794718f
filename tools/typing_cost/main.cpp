// tvime-typing-cost: the clicks a user who knows the strokes needs to type a text with the
// stroke panel, taking the cheapest way the panel offers at every step.
//
//   tvime-typing-cost [--dict DIR] [--big] [--whole-run] [--learn] [--no-predict] [--trace]
//                     FILE|FOLDER
//
// FILE is UTF-8. Hanzi are typed by clicks on a real panel over the dictionaries; everything else
// is typed on the keyboard and costs nothing. Each step takes the action with the fewest clicks
// per character it commits; with --whole-run each run of hanzi is typed with the fewest clicks
// in all. --big searches the large character set; without it only the common characters.
// --learn types with "LearnChoices" on: the choices made move up in their lists.
// --no-predict types with "PredictNext" off: follow-on words in the dictionary's order, whatever
// came before (on by default, as in the input method).
// --trace writes every action to standard error.
//
// A FOLDER has its ".txt" files typed each by a fresh panel, as one user each: one line per file
// and the total.

#include <filesystem>
#include <fstream>
#include <iostream>
#include <sstream>
#include <string>
#include <thread>

#include "tools/typing_cost/typing_cost.h"

namespace {

int Usage() {
  std::cerr
      << "usage: tvime-typing-cost [--dict DIR] [--big] [--whole-run] [--learn] [--no-predict] "
         "[--trace] "
         "FILE|FOLDER\n";
  return 2;
}

int MeasureFolder(const tvime::ResourceSource& resources, const std::string& folder,
                  const tvime::TypingOptions& options) {
  std::vector<tvime::SourceCost> sources = tvime::MeasureFolder(
      resources, folder, options, std::max(1u, std::thread::hardware_concurrency()));
  if (sources.empty()) {
    std::cerr << "tvime-typing-cost: no .txt file in " << folder << "\n";
    return 1;
  }
  int status = 0;
  for (const tvime::SourceCost& source : sources) {
    if (source.error.empty()) continue;
    std::cerr << "tvime-typing-cost: " << source.name << ": " << source.error << "\n";
    status = 1;
  }
  tvime::WriteFolderCost(sources, std::cout);
  return status;
}

}  // namespace

int main(int argc, char** argv) {
  std::string dictDir = TVIME_DICT_DIR;
  std::string path;
  tvime::TypingOptions options;
  bool trace = false;
  for (int i = 1; i < argc; ++i) {
    std::string arg = argv[i];
    if (arg == "--dict" && i + 1 < argc) {
      dictDir = argv[++i];
    } else if (arg == "--big") {
      options.bigCharset = true;
    } else if (arg == "--whole-run") {
      options.rule = tvime::PlanningRule::WholeRun;
    } else if (arg == "--learn") {
      options.learn = true;
    } else if (arg == "--no-predict") {
      options.predict = false;
    } else if (arg == "--trace") {
      trace = true;
    } else if (path.empty() && !arg.starts_with("--")) {
      path = arg;
    } else {
      return Usage();
    }
  }
  if (path.empty()) return Usage();

  tvime::DirectoryResources resources(dictDir);
  if (std::filesystem::is_directory(path)) return MeasureFolder(resources, path, options);

  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  if (!file) {
    std::cerr << "tvime-typing-cost: cannot read " << path << "\n";
    return 1;
  }
  tvime::TypingSimulator simulator(resources, options);
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
