#include "mainwin/user_settings.h"

#include "platform/settings/settings.h"

namespace mainwin {

SettingsIO UserSettings() {
  return {[](const std::string& section, const std::string& key, const std::string& def) {
            return talvero::GetSetting(kAppKey, section, key, def);
          },
          [](const std::string& section, const std::string& key, const std::string& value) {
            talvero::SaveSetting(kAppKey, section, key, value);
          }};
}

}  // namespace mainwin
