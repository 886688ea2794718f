#include "panels/panel_runtime_win.h"

#include <ctime>

#include "base/file_save_lock_win.h"
#include "base/module_thread_win.h"
#include "engine/dictionary_cache_win.h"
#include "engine/dictionary_image.h"

namespace tvime {

PanelRuntime::PanelRuntime(HINSTANCE instance, Settings& settings, Host& sessionHost,
                           PanelWindowHost& windowHost, UserDataPathFn userDataPath,
                           DictionarySharing sharing)
    : flags(settings),
      resources(instance),
      sharesDictionaries(sharing == DictionarySharing::Shared && ProcessMayShareDictionaries()),
      sharedDictionaries(
          sharesDictionaries
              ? MapSharedDictionaries(resources, DictionaryCacheFolder(), DictionaryImageBuild())
              : nullptr),
      lexicon(std::move(userDataPath)),
      artwork(instance),
      panel(lexicon, settings, flags, sessionHost, measure),
      news(kHintStrip, static_cast<std::int64_t>(std::time(nullptr))) {
  if (sharesDictionaries && !sharedDictionaries) {
    // This process decodes its own copy; the image for the next ones is made beside it.
    madeImage = std::make_shared<MadeImage>(instance);
    StartModuleThread([made = madeImage] {
      SetThreadPriority(GetCurrentThread(), THREAD_PRIORITY_LOWEST);
      made->image = OpenSharedDictionaries(made->stored, DictionaryCacheFolder(),
                                           DictionaryImageBuild(), /*mayCreate=*/true);
    });
  }
  lexicon.SetSaveLocker(LockFileSaves);
  lexicon.Initialize(sharedDictionaries ? sharedDictionaries.get() : &resources);
  windows.resources = instance;
  windows.panel = &panel;
  windows.artwork = &artwork;
  windows.settings = &settings;
  windows.host = &windowHost;
  windows.news = &news;
  windows.measure = &measure;
  InstallPanelWindows(&windows);
}

PanelRuntime::~PanelRuntime() {
  if (Windows() == &windows) InstallPanelWindows(nullptr);
}

}  // namespace tvime
