#pragma once
// The main window's layout rule: from the window's size, the place of every
// control, the font sizes that grow with the window and the status tabs'
// contents. Figures are twips (1/1440 inch) as the rule is written; the pixel
// version converts at the screen's DPI.
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace talvero {

constexpr double kMinWindowWidthTw = 7305;
constexpr double kMinWindowHeightTw = 5475;

// A property the rule leaves unset keeps its current value.
struct RectSet {
  std::optional<double> left, top, width, height;
};

struct PlacedControl {
  std::string name;       // "Sys", "IN(3)", "Label2", ...
  std::string container;  // "" = the window; "StatStrip" (its top-left, tab row included),
                          // "LegendFrame", "InputsFrame", "OutputsFrame", "Frame1", "Frame2"
  RectSet rect;
};

// Design sizes the rule reads but never sets.
struct LayoutDesign {
  double driveResetWidth = 1215, driveResetHeight = 375;
  double addUvHeight = 375, deleteUvWidth = 855, uvChangeWidth = 855;
  double frame1Height = 615, frame2Height = 855;
  double mon1Height = 255;
};

struct LayoutInput {
  double W = 0, H = 0;   // outer size: borders, caption and menu bar included
  double mon1Top = 0;    // top of the status bar, window coordinates
  bool statStripVisible = false;
  std::string currentTab;  // caption of the status tab shown
  double tabRowHeight = 0; // height of the tab strip's row of headers
  int visibleInputs = 9;   // IN lamps shown (of 9)
  int visibleOutputs = 12; // OUT lamps shown (of 12)
  // Height of the text "XXX" in Arial at a point size, twips. Null: a 1.15
  // line height is assumed.
  std::function<double(int points)> textHeight;
  LayoutDesign design;
};

struct Layout {
  double W = 0, H = 0;     // the size laid out: never below the minimum
  int treeFontPt = 0;      // Sys; also Watch, GS_stat, UV_Select and FaultList
  int listFontPt = 0;      // EditList
  int legendFontPt = 0;    // Label1..Label4; 0 when the IO tab was not laid out
  double lineX2 = 0;       // right end of Line1 and Line2
  int inputLamps = 0;      // IN(0..n-1) placed
  int outputLamps = 0;     // OUT(0..n-1) placed
  std::vector<PlacedControl> controls;  // only what the rule sets, in the order it sets them
  const PlacedControl* Find(const std::string& name) const;
};

Layout ComputeLayout(const LayoutInput& in);

// The font size, lamp cells and legend rows on their own.
int TreeFontPoints(double W);
struct LampCell {
  double left, top, size;
};
// Lamps of one frame, index 0 first; as many as shown, at least two, at most max.
std::vector<LampCell> LampCells(double frameWidth, double frameHeight, int shown, int max);
struct LegendPlace {
  double left, top, width, height;
};
// The legend: four square colour swatches (isoff, ison, isforcedoff,
// isforcedon) and their labels beside them, and the height the labels' text
// may take.
struct LegendLayout {
  std::vector<LegendPlace> swatches, labels;
  double textHeight;
};
LegendLayout LegendPlaces(double frameWidth, double frameHeight);

// --- Pixels ---------------------------------------------------------------

// Twips in one pixel; a screen that reports no resolution counts as 96 dpi.
double TwipsPerPixel(double dpi);

struct PixelRect {
  std::optional<int> left, top, width, height;
};
struct PixelControl {
  std::string name, container;
  PixelRect rect;
};

struct WindowMetrics {
  double dpi = 96;
  // What the outer size has beyond the area the controls live in: borders,
  // caption and menu bar.
  int frameWidthPx = 8;
  int frameHeightPx = 40;
  int statusBarHeightPx = 17;
  int tabRowHeightPx = 24;
};

struct PixelLayoutInput {
  // The area under the menu bar that holds the controls and, at its bottom,
  // the status bar.
  int clientWidthPx = 0, clientHeightPx = 0;
  WindowMetrics metrics;
  bool statStripVisible = false;
  std::string currentTab;
  int visibleInputs = 9, visibleOutputs = 12;
  std::function<int(int points)> textHeightPx;  // height of "XXX" in Arial, pixels
  LayoutDesign design;  // twips
};

struct PixelLayout {
  Layout twips;
  std::vector<PixelControl> controls;
  const PixelControl* Find(const std::string& name) const;
};

PixelLayout ComputePixelLayout(const PixelLayoutInput& in);

struct PixelSize {
  int width, height;
};
// The smallest client area, for setMinimumSize once at start.
PixelSize MinimumClientSize(const WindowMetrics& m);

}  // namespace talvero
