#pragma once
// The engine, the session and the panel windows of one process, wired the same way in every
// program that hosts them (the input-method module, the stand-alone program, the test host). The
// program keeps its settings and its two hosts alive for as long as the runtime.

#include <windows.h>

#include <memory>

#include "base/module_resources_win.h"
#include "engine/lexicon.h"
#include "panels/gdi_renderer_win.h"
#include "panels/panel_windows_win.h"
#include "session/composition_panel.h"
#include "settings/conversion_flags.h"
#include "settings/settings.h"

namespace tvime {

// Whether the dictionaries are read through the user's shared image (every process maps one
// copy) or each process decodes its own (the secure desktop, tests that want no files).
enum class DictionarySharing { Shared, Private };

struct PanelRuntime {
  // The dictionaries and artwork come from `instance`; the windows are installed for the process.
  PanelRuntime(HINSTANCE instance, Settings& settings, Host& sessionHost,
               PanelWindowHost& windowHost, UserDataPathFn userDataPath, DictionarySharing sharing);
  PanelRuntime(const PanelRuntime&) = delete;
  PanelRuntime& operator=(const PanelRuntime&) = delete;
  ~PanelRuntime();

  ConversionFlags flags;
  ModuleResources resources;
  // Low-integrity and app-container processes read no image that others made nor make one.
  const bool sharesDictionaries;
  std::unique_ptr<ResourceSource> sharedDictionaries;  // null: the lexicon decodes its own
  // The image this process made for the next ones, mapped while the runtime lives: a process
  // that maps a checked image holds the token that spares the next ones hashing it again.
  struct MadeImage {
    explicit MadeImage(HINSTANCE instance) : stored(instance) {}
    ModuleResources stored;
    std::unique_ptr<ResourceSource> image;
  };
  std::shared_ptr<MadeImage> madeImage;
  Lexicon lexicon;
  PanelArtwork artwork;
  GdiTextMeasure measure{artwork};
  CompositionPanel panel;
  NewsLine news;
  PanelWindows windows;
};

}  // namespace tvime
