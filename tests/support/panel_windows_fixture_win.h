#pragma once
// The engine, the session and the panel windows of a display test, over the test program's own
// resources: the composition and status windows made and shown as the input method makes them,
// for tests that drive them with window messages.

#include <windows.h>

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "base/module_resources_win.h"
#include "panels/panel_windows_win.h"
#include "panels/windows_session_host_win.h"
#include "settings/settings.h"
#include "tests/support/temp_dir.h"

namespace tvime::testing {

class NullHost : public WindowsSessionHost {
 public:
  void Commit(ContextHandle, std::string_view) override {}
  void ReturnKey(ContextHandle, unsigned) override {}
  void PanelChanged(ContextHandle) override {}
};

class TestWindowHost : public PanelWindowHost {
 public:
  ContextHandle ContextFor(HWND) override { return 1; }
  HWND ApplicationWindow(ContextHandle) override { return nullptr; }
  bool IsOpen(ContextHandle) override { return open; }
  void SetOpen(ContextHandle, bool value) override { open = value; }
  bool open = true;
};

class PanelWindowsFixture : public ::testing::Test {
 protected:
  // Makes everything over `store`; `prepare` writes the settings the windows start from. The
  // window classes take the names given.
  static void SetUpPanelWindows(SettingsStore& store, const wchar_t* compositionClass,
                                const wchar_t* statusClass,
                                const std::function<void(Settings&)>& prepare = {}) {
    instance = GetModuleHandleW(nullptr);
    settings = new Settings(store);
    if (prepare) prepare(*settings);
    flags = new ConversionFlags(*settings);
    resources = new ModuleResources(instance);
    lexicon =
        new Lexicon([](std::string_view name) { return UserDataFolder().File(std::string(name)); });
    artwork = new PanelArtwork(instance);
    measure = new GdiTextMeasure(*artwork);
    panel = new CompositionPanel(*lexicon, *settings, *flags, sessionHost, *measure);
    lexicon->Initialize(resources);
    news = new NewsLine(kHintStrip, 0);
    windows.resources = instance;
    windows.panel = panel;
    windows.artwork = artwork;
    windows.settings = settings;
    windows.host = &windowHost;
    windows.news = news;
    windows.measure = measure;
    InstallPanelWindows(&windows);
    ASSERT_TRUE(RegisterPanelWindowClasses(instance, compositionClass, statusClass,
                                           CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW));
    owner = CreateWindowExW(0, L"STATIC", L"owner", WS_POPUP, 0, 0, 1, 1, nullptr, nullptr,
                            instance, nullptr);
    ASSERT_TRUE(owner) << "no display: these tests need an X server (DISPLAY)";
    composition = CreateCompositionWindow(instance, compositionClass, owner);
    ASSERT_TRUE(composition);
    ShowCompositionWindow(composition);
    status = CreateStatusBarWindow(instance, statusClass, owner);
    ASSERT_TRUE(status);
  }

  // The user words of the tests' lexicon.
  static TempDir& UserDataFolder() {
    static TempDir folder;
    return folder;
  }

  static inline HINSTANCE instance = nullptr;
  static inline Settings* settings = nullptr;
  static inline ConversionFlags* flags = nullptr;
  static inline ModuleResources* resources = nullptr;
  static inline Lexicon* lexicon = nullptr;
  static inline PanelArtwork* artwork = nullptr;
  static inline GdiTextMeasure* measure = nullptr;
  static inline CompositionPanel* panel = nullptr;
  static inline NewsLine* news = nullptr;
  static inline NullHost sessionHost;
  static inline TestWindowHost windowHost;
  static inline PanelWindows windows;
  static inline HWND owner = nullptr, composition = nullptr, status = nullptr;
};

}  // namespace tvime::testing
