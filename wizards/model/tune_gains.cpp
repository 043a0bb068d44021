#include "wizards/model/tune_gains.h"

#include <cmath>

#include "runtime/format.h"
#include "runtime/rounding.h"

namespace wizards {

namespace {

// The loop's scale for an inertia: (1 / I) x (60 / 6.28318), as the drive's
// tools have always computed it (not a longer two pi).
float Scale(float iner) { return float(double(1.0f / iner) * (60 / 6.28318)); }

int Pow3(int x) {
  int p = 1;
  while (x-- > 0) p *= 3;
  return p;
}

}  // namespace

TuneGains ComputeGains(float iner, int D, int R, int F, double ppg) {
  const float I = iner <= 0 ? 0.01f : iner;
  const double c = Scale(I);
  TuneGains g;
  g.KF = float(F / 100.0);
  g.KP = float(2 * (D / 50.0) * R / c);
  g.KI = float(double(R) * R / c);
  g.PPG = float(ppg);
  return g;
}

int InertiaClass(double R) {
  int x = 0;
  while (x < kInertiaClassMax && 300.0 * Pow3(x) <= R) ++x;
  return x;
}

int ResponseMax(int inertiaClass) { return 300 * Pow3(inertiaClass); }
int ResponseTick(int inertiaClass) { return 4 * Pow3(inertiaClass); }

int FeedForwardFromKF(float kf) { return rt::CLng(double(kf) * 100); }

TuneSliders SlidersFromGains(float iner, float kp, float ki, float kf) {
  TuneSliders s;
  const float c = Scale(iner);
  float R = float(std::sqrt(double(c) * ki));
  if (!(R >= kResponseMin)) {  // NaN too
    R = kResponseMin;
    s.recognised = false;
  }
  if (R > ResponseMax(kInertiaClassMax)) {
    R = float(ResponseMax(kInertiaClassMax));
    s.recognised = false;
  }
  s.inertiaClass = InertiaClass(R);
  float D = float(double(kp) * 50 * c / R / 2);
  if (!(D >= kDampingMin)) {
    D = kDampingMin;
    s.recognised = false;
  } else if (D > kDampingMax) {
    D = kDampingMax;
    s.recognised = false;
  }
  if (!(kf >= 0 && kf <= 1)) s.recognised = false;
  s.damping = rt::CLng(D);
  s.response = rt::CLng(R);
  return s;
}

std::string DampingLabel(int D) { return "Damping (" + rt::Format(D / 50.0, "#0.00") + ")"; }

std::string ResponseLabel(int R) {
  return "Response (" + rt::Format(R / 2.0 / 3.14159, "####0.0") + ")";
}

std::string FeedForwardLabel(int F) { return "Feedforward Gain (" + rt::Format(F, "##0\\%") + ")"; }

}  // namespace wizards
