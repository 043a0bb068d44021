#pragma once
// Help for the program's windows: the contents, context topics, the "step" window, context
// pop-ups and a keyword index, all read from the text file "talvero.help" (format in
// help_file.h) found in the folder given at construction, normally the program's own.
// The user interface installs the displays; the service decides what to show and tells the
// user through the Prompter when it cannot.
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/help/help_file.h"

namespace talvero {

// Where a topic is to be shown.
enum class HelpWindow { Main, Step, Popup };

class HelpService {
 public:
  static constexpr int kContentsContext = 7001;
  static constexpr int kGettingStartedContext = 8001;  // + index of the menu item
  static constexpr int kStepContextBase = 1000;        // + step operation code
  static constexpr int kParameterContextBase = 1200;   // + parameter id
  static constexpr int kEventContextBase = 1400;       // + event operation code
  // The topics of the three list views, just below each range: an empty
  // program step (operation -1) or an empty event asks for exactly these.
  static constexpr int kProgramViewContext = kStepContextBase - 1;
  static constexpr int kParameterViewContext = kParameterContextBase - 1;
  static constexpr int kEventViewContext = kEventContextBase - 1;
  static constexpr const char* kFileName = "talvero.help";

  using Display = std::function<void(const HelpTopic& topic, HelpWindow window)>;
  // Shows the index entries for a keyword (as typed so far) and gives back the context the
  // user picked, or nullopt when they closed it.
  using IndexDisplay =
      std::function<std::optional<int>(const std::string& keyword, const std::vector<HelpIndexEntry>& entries)>;

  explicit HelpService(std::string directory);

  // Without a display a topic is shown as an information box titled by the topic.
  void SetDisplay(Display display) { display_ = std::move(display); }
  // Without one the keyword search asks for a keyword with an input box.
  void SetIndexDisplay(IndexDisplay display) { indexDisplay_ = std::move(display); }

  const std::string& FilePath() const { return path_; }

  // Each is true when a topic or the index was shown; otherwise the user has been told why.
  bool ShowHelpContents();
  bool ShowTopic(int context, HelpWindow window = HelpWindow::Main);
  bool ShowStepHelp(int context) { return ShowTopic(context, HelpWindow::Step); }
  // A row's topic; one the file lacks gives its view's topic, else the contents.
  bool ShowHelpPopup(int context);
  bool ShowHelpSearch(const std::string& keyword = "");

  // The file as it is now; nullopt when it is missing or unreadable.
  std::optional<HelpFile> Load() const;

 private:
  // Reads the file, telling the user when it is not there; what = what was asked for.
  std::optional<HelpFile> LoadFor(const std::string& what) const;
  bool Present(const HelpTopic& topic, HelpWindow window) const;
  bool ShowFrom(const HelpFile& file, int context, HelpWindow window, const std::string& what) const;

  std::string directory_;
  std::string path_;
  Display display_;
  IndexDisplay indexDisplay_;
};

// The caption of the window that shows a topic: the help's name, then the
// topic's title unless that is the name itself.
std::string HelpWindowTitle(const HelpTopic& topic);

// The program's help, looking beside the executable unless one was installed.
HelpService& TheHelp();
void SetHelpService(HelpService* service);

// The folder of the running program ("." when it cannot be found).
std::string ProgramDirectory();

}  // namespace talvero
