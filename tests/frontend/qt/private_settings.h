// The Qt tests keep their settings (the recent files) in a temporary folder, never in the
// user's own: XDG_CONFIG_HOME points there before the application starts.
#pragma once

#include <QSettings>
#include <cstdlib>
#include <memory>
#include <string>

#include "support/test_support.h"

namespace testing_support {

// The folder the settings go to; the first call sets it, before any QApplication exists.
inline const std::string& PrivateSettingsFolder() {
  static const std::unique_ptr<TempDir> folder = [] {
    auto made = std::make_unique<TempDir>();
    ::setenv("XDG_CONFIG_HOME", made->path().c_str(), 1);
    return made;
  }();
  return folder->path();
}

// Whether the application's settings file lies in that folder.
inline bool SettingsArePrivate() {
  const std::string file = QSettings().fileName().toStdString();
  return file.rfind(PrivateSettingsFolder() + "/", 0) == 0;
}

}  // namespace testing_support
