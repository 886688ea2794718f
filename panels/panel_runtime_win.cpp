#include "panels/panel_runtime_win.h"

#include <ctime>

#include "base/file_save_lock_win.h"

namespace tvime {

PanelRuntime::PanelRuntime(HINSTANCE instance, Settings& settings, Host& sessionHost,
                           PanelWindowHost& windowHost, UserDataPathFn userDataPath)
    : flags(settings),
      resources(instance),
      lexicon(std::move(userDataPath)),
      artwork(instance),
      panel(lexicon, settings, flags, sessionHost, measure),
      news(kHintStrip, static_cast<std::int64_t>(std::time(nullptr))) {
  lexicon.SetSaveLocker(LockFileSaves);
  lexicon.Initialize(&resources);
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
