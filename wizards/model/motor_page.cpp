#include "wizards/model/motor_page.h"

#include "runtime/format.h"
#include "runtime/rounding.h"

namespace wizards {

namespace {

struct Source {
  const char* generic;
  const char* param;  // nullptr: no present value
  const char* picture;
  float MotorRecord::*field;
};

// Boxes 0 to 7 of each page; box 8 follows the feedback rules.
constexpr Source kBrushless[8] = {
    {"6", "MPOL", "##0", &MotorRecord::mpol},
    {"0.001", "INER", "##0.########", &MotorRecord::inertia},
    {"1.0", "KT", "##0.000", &MotorRecord::kt_bspd},
    {}, {}, {}, {},
    {"1", "IRMS", "###0.0", &MotorRecord::ic}};
constexpr Source kBrush[8] = {
    {},
    {"0.001", "INER", "##0.########", &MotorRecord::inertia},
    {"1.0", "KT", "##0.000", &MotorRecord::kt_bspd},
    // The motor's resistance is read too, so OK writes back what it found.
    {"1.000", "MRES", "##0.000", &MotorRecord::P1},
    {}, {}, {},
    {"1", "IRMS", "###0.0", &MotorRecord::ic}};
constexpr Source kInduction[8] = {
    {"4", "MPOL", "##0", &MotorRecord::mpol},
    {"0.010", "INER", "##0.########", &MotorRecord::inertia},
    {"1500", "BSPD", "####0.0", &MotorRecord::kt_bspd},
    {"0.010", "MIND", "##0.###", &MotorRecord::P1},
    {"0.100", "RRES", "##0.####", &MotorRecord::P2},
    {"0.612", "RFLX", "##0.####", &MotorRecord::p3},
    {"0.100", "MFLX", "##0.####", &MotorRecord::p4},
    {"1", "IRMS", "###0.0", &MotorRecord::ic}};

std::string Pic(double v, const char* picture) { return rt::Format(v, picture); }

// Steps 5 and 6 for boxes 0 to 7: library text and locked, or the default
// replaced by the present value.
void FillBoxes(MotorPage& p, const Source (&src)[8], const MotorRecord* lib, AxisPort& axis) {
  for (int i = 0; i < 8; ++i) {
    if (!src[i].generic) {
      p.box[i].visible = false;
      continue;
    }
    PageBox& b = p.box[i];
    b.visible = true;
    b.enabled = !lib;
    b.text = lib ? FieldText(lib->*src[i].field) : src[i].generic;
    if (b.enabled && src[i].param) b.text = Pic(axis.Number(src[i].param), src[i].picture);
  }
}

void Box8(MotorPage& p, const MotorRecord* lib, const char* generic) {
  p.box[8].visible = true;
  p.box[8].enabled = !lib;
  p.box[8].text = lib ? FieldText(lib->feedp) : generic;
}

void BrushlessPage(MotorPage& p, const std::string& code, const MotorRecord* lib, AxisPort& axis) {
  p.type = code == "B6" ? "Type: Brushless (Hall Only)"
           : code == "BI" ? "Type: Brushless (Encoder Only)"
                          : "Type: Brushless";
  p.caption[2] = "Torque Constant (Nm/A)";
  FillBoxes(p, kBrushless, lib, axis);
  p.feedEnabled[kTachometer] = false;
  p.ctkEnabled = false;
  p.ctk = false;
  if (lib) {
    Box8(p, lib, "2");
    p.feedEnabled[kEncoder] = p.feedEnabled[kResolver] = false;
    if (lib->feedback == "R") {
      p.feed = kResolver;
      p.caption[8] = "Pole Count";
    } else {
      p.feed = kEncoder;
      p.caption[8] = "Quad PPR";
      p.ctk = lib->feedback == "Y";
    }
    return;
  }
  p.feed = kResolver;
  p.caption[8] = "Pole Count";
  Box8(p, nullptr, "2");
  p.feedEnabled[kEncoder] = p.feedEnabled[kResolver] = true;
  const int feed = axis.Code("FEED");
  if (feed == 0 || feed == 3) {
    p.feed = kEncoder;
    p.caption[8] = "Quad PPR";
    p.box[8].text = Pic(axis.Number("EPPR"), "####0");
    p.ctkEnabled = true;
    p.ctkCaption = "Commutation Tracks (Z-Chan)";
    p.ctk = feed == 3;
  } else if (feed == 1) {
    p.box[8].text = Pic(axis.Number("RPOL"), "####0");
  }
}

// The DC brush and the induction pages: tachometer or encoder, no tracks.
void PlainPage(MotorPage& p, bool brush, const MotorRecord* lib, AxisPort& axis) {
  p.type = brush ? "Type: DC Brush" : "Type: Induction";
  p.caption[2] = brush ? "Torque Constant (Nm/A)" : "Base Speed (RPM)";
  p.caption[3] = brush ? "Motor Resistance (Ohms)" : "Mutual Inductance (H)";
  p.caption[8] = brush ? "V/kRPM" : "Quad PPR";
  FillBoxes(p, brush ? kBrush : kInduction, lib, axis);
  Box8(p, lib, brush ? "3" : "4096");
  if (!lib && brush) {
    float fbs = rt::CSng(axis.Number("FBS"));
    if (fbs <= 0.01f) fbs = 0.01f;
    p.box[8].text = Pic(fbs, "####0.###");
  } else if (!lib) {
    p.box[8].text = Pic(axis.Number("EPPR"), "####0");
  }
  p.feed = brush ? kTachometer : kEncoder;
  p.feedEnabled = {!lib, !lib, brush && !lib};
  p.ctkEnabled = p.ctk = false;
  if (lib) p.coff = 0;
}

// Steps 4 to 7 for a type code.
void FillPage(MotorPage& p, const std::string& code, const MotorRecord* lib, AxisPort& axis) {
  if (code == "BL" || code == "BI" || code == "B6") {
    BrushlessPage(p, code, lib, axis);
    if (lib) {
      p.coff = lib->P2;
      p.ikpq = lib->p3;
    }
  } else if (code == "BR" || code == "IN") {
    PlainPage(p, code == "BR", lib, axis);
  }
}

}  // namespace

MotorPage DesignMotorPage() {
  MotorPage p;
  p.caption = {"Pole Count",         "Inertia (kg-m\xC2\xB2)",  "MP2",
               "Mutual Inductance (H)", "Rotor Resistance (Ohms)", "Rated Flux (Wb)",
               "Minimum Flux (Wb)",  "Rated Current (A RMS)",   "MP8"};
  return p;
}

const std::array<std::string, 6>& ServoFixedRows() {
  static const std::array<std::string, 6> rows = {
      "- Current Settings                ", "- Generic Brushless               ",
      "- Generic Brushless (Encoder Only)", "- Generic Brushless (Hall Only)   ",
      "- Generic DC Brush                ", "- Generic Induction               "};
  return rows;
}

void FillFromCurrent(MotorPage& page, AxisPort& axis) {
  const int dm = axis.Code("DM");
  page.coff = rt::CSng(axis.Number("COFF"));
  page.ikpq = axis.TauOrPhi() ? rt::CSng(axis.Number("IKPQ")) : 5000.0f;
  static const char* kByDm[] = {"BL", "BL", "IN", "BR", "B6", "BI"};
  FillPage(page, dm >= 1 && dm <= 5 ? kByDm[dm] : "BL", nullptr, axis);
}

void FillGeneric(MotorPage& page, int row, AxisPort& axis) {
  static const char* kByRow[] = {"", "BL", "BI", "B6", "BR", "IN"};
  if (row >= 1 && row <= 5) FillPage(page, kByRow[row], nullptr, axis);
}

void FillLibrary(MotorPage& page, const MotorRecord& motor, AxisPort& axis) {
  FillPage(page, motor.Type, &motor, axis);
}

void FeedTClick(MotorPage& page, int index) {
  static const char* kCaption[] = {"Quad PPR", "Pole Count", "V/kRPM"};
  static const char* kDefault[] = {"4096", "2", "3"};
  if (index < 0 || index > 2) return;
  page.feed = index;
  page.caption[8] = kCaption[index];
  page.box[8].text = kDefault[index];
  page.ctkEnabled = index == kEncoder;
  page.ctk = false;
}

}  // namespace wizards
