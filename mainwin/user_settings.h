#pragma once
// The program's own settings store: the INI file of the application key "Talvero3".
#include "mainwin/startup_settings.h"

namespace mainwin {

constexpr const char* kAppKey = "Talvero3";
SettingsIO UserSettings();

}  // namespace mainwin
