#pragma once
// The tuning wizard's figures: the four gains from the sliders, the sliders
// back from an axis' gains, the inertia class and the read-outs.
#include <string>

namespace wizards {

// Slider limits.
constexpr int kDampingMin = 10, kDampingMax = 90;
constexpr int kResponseMin = 10;
constexpr int kInertiaClassMax = 5;

struct TuneGains {
  float KP = 0, KI = 0, KF = 0, PPG = 0;
};

// D damping x 50, R response (rad/s), F feed-forward (%), ppg the position
// loop gain. An inertia of 0 or less counts as 0.01.
TuneGains ComputeGains(float iner, int D, int R, int F, double ppg);

// The class 0..5 of a response: 0 below 300, else the largest x with
// 300 * 3^(x-1) <= R, at most 5. In whole numbers, so exact powers of 3
// land in the class above them.
int InertiaClass(double R);
int ResponseMax(int inertiaClass);   // 300 * 3^class
int ResponseTick(int inertiaClass);  // 4 * 3^class

// The sliders for an axis' inertia (> 0) and gains. Not recognised: a
// response below 10 or beyond the last class, a damping outside 10..90 or a
// feed-forward outside 0..1; the caller then loads the defaults.
struct TuneSliders {
  bool recognised = true;
  int damping = 0, response = 0, inertiaClass = 0;
};
TuneSliders SlidersFromGains(float iner, float kp, float ki, float kf);

// The feed-forward slider for a KF: KF x 100, halves to even.
int FeedForwardFromKF(float kf);

std::string DampingLabel(int D);
std::string ResponseLabel(int R);
std::string FeedForwardLabel(int F);

}  // namespace wizards
