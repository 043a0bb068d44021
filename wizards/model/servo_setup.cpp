#include "wizards/model/servo_setup.h"

#include <cfloat>
#include <cmath>

#include "runtime/cstr.h"
#include "runtime/format.h"
#include "runtime/rounding.h"
#include "runtime/val.h"

namespace wizards {

UseState UseRule(int firstChecked) {
  UseState s;
  switch (firstChecked) {
    case 0:
      s.aset[0] = s.asi[0] = true;
      s.daEnabled = s.daFromDcm = false;
      break;
    case 1:
      s.aset[1] = true;
      for (int i = 1; i <= 4; ++i) s.asi[size_t(i)] = true;
      break;
    case 2:
      s.aset[2] = s.asi[5] = s.asi[6] = true;
      s.label1 = {true, true, true};
      s.daEnabled = s.daFromDcm = false;
      break;
    case 3:
      s.aset[3] = true;
      break;
    default:
      s.aset = {true, true, true, true};
      s.ok = false;
  }
  return s;
}

namespace {

double V(const std::string& text) { return rt::Val(text); }

// The feedback counts per motor revolution for the chosen option.
double ResolverCounts(const std::string& mp8, bool tauOrPhi) {
  return tauOrPhi ? 65536.0 : double(rt::CSng(V(mp8) * 4096 / 2));
}

bool FitsSingle(double x) { return std::isfinite(x) && std::fabs(x) <= double(FLT_MAX); }

}  // namespace

ServoInputs PrefillInputs(const MotorPage& page, AxisPort& axis) {
  ServoInputs in;
  in.da = axis.Code("DCM") != 0;
  in.asi[0] = rt::Format(axis.Number("PET"), "##0.####");
  double counts = 4096;
  if (page.feed == kEncoder) counts = V(page.box[8].text);
  if (page.feed == kResolver) counts = ResolverCounts(page.box[8].text, axis.TauOrPhi());
  in.asi[6] = rt::Format(counts, "####0");
  in.asi[5] = rt::Format(axis.Number("SPPR"), "####0");
  in.asi[4] = "1";
  float a = rt::CSng(axis.Number("ACC"));
  if (a < 1) a = 1;
  in.asi[3] = rt::Format(a / 1.2, "#####0.0");
  in.asi[1] = "10";
  in.asi[2] = rt::Format(axis.Number("FSV"), "####0.0");
  switch (axis.Code("CM")) {
    case 1: in.use = 3; break;
    case 2: in.use = 0; break;
    case 3: case 4: case 5: in.use = 2; break;
    case 0: in.use = 1; break;
    default: in.use = -1;
  }
  return in;
}

ServoWrites ServoSetupWrites(const ServoForm& f) {
  ServoWrites out;
  std::vector<ParamWrite>& w = out.writes;
  auto put = [&](const char* name, std::string value) { w.push_back({name, std::move(value)}); };
  // A value the drive could not hold as a 32-bit number refuses the whole set-up.
  auto check = [&](const char* name, double x) {
    if (out.error.empty() && !FitsSingle(x)) out.error = std::string(name) + " is out of range.";
  };
  const auto& mp = f.page.box;
  const std::string& type = f.page.type;
  const bool positioning = f.aset[0], velocity = f.aset[1], slave = f.aset[2];

  if (slave && V(f.asi[6]) == 0) {
    out.error = "The Slave side of the ratio must not be 0.";
    return out;
  }

  // 1-3
  const double j = V(mp[1].text);
  const double W = (60 / 6.28318) / (j > 0 ? j : 0.001);
  put("INER", mp[1].text);
  put("ACC", "1000");
  put("DEC", "1000");
  put("OSPD", "20000");
  // 4-5
  const double kp = 2 * (70.0 / 50) * 150 / W;
  const double ki = 22500 / W;
  check("KP", kp);
  check("KI", ki);
  put("KF", "0.8");
  put("PPG", "5.0");
  put("KP", rt::Format(kp, "##0.######"));
  put("KI", rt::Format(rt::CSng(ki), "###0.#####"));
  if (positioning || slave) {
    put("CM", slave ? "5" : "2");
    const float acc = rt::CSng(V(f.asi[0]));
    put("PET", rt::CStrSingle(acc > 0 ? acc : 0.001f));
    put("FSV", "0");
  } else {
    if (velocity) {
      put("CM", "0");
      if (rt::CSng(V(f.asi[1])) <= 0) {
        put("FSV", "0");
      } else {
        const double fsv = V(f.asi[2]) * 10 / V(f.asi[1]);
        check("FSV", fsv);
        put("FSV", rt::CStrDouble(fsv));
      }
      if (rt::CSng(V(f.asi[4])) > 0) {
        const double acc = V(f.asi[3]) * 1.2 / V(f.asi[4]);
        check("ACC", acc);
        put("ACC", rt::CStrDouble(acc));
        put("DEC", rt::CStrDouble(acc));
      }
    } else {
      put("CM", "1");
      put("FSV", "0");
    }
    put("PET", "0");
  }
  // 6-8
  put("DCM", f.da ? "1" : "0");
  put("EM", "0");
  const double current = V(mp[7].text) * 2.5;
  check("IMAX", current);
  float i = rt::CSng(current);
  if (i < 0) i = 0;
  put("IMAX", rt::CStrSingle(i));
  put("IRMS", WritePic(i / 2.5, "###.##"));
  put("BSPD", "1500");
  put("MIND", "1");
  put("RRES", "1");
  put("RFLX", "1");
  put("MFLX", "1");
  // 9: the motor kind by the page's caption.
  auto ospd = [&]() {
    const double kt = V(mp[2].text);
    check("OSPD", kt);
    float k = rt::CSng(kt);
    if (k < 0.0001f) k = 0.0001f;
    float s = rt::CSng(5078 / k);
    if (s > 20000) s = 20000;
    put("OSPD", rt::CStrSingle(s));
  };
  auto poles = [&]() {
    float p = rt::CSng(rt::Int(V(mp[0].text)));
    return p < 2 ? 2.0f : p > 64 ? 64.0f : p;
  };
  if (type.find("DC") != std::string::npos) {
    put("MPOL", "2");
    put("DM", "3");
    put("REAL", "0");
    put("KT", mp[2].text);
    put("MRES", mp[3].text);
    ospd();
  } else {
    put("MPOL", rt::CStrSingle(poles()));
    if (type.find("Induction") != std::string::npos) {
      put("DM", "2");
      put("REAL", "0");
      put("BSPD", mp[2].text);
      put("MIND", mp[3].text);
      put("RRES", mp[4].text);
      put("RFLX", mp[5].text);
      put("MFLX", mp[6].text);
    } else {
      put("DM", "1");
      if (type.find("Hall") != std::string::npos) put("DM", "4");
      if (type.find("Encoder") != std::string::npos) put("DM", "5");
      put("REAL", "0");
      put("KT", mp[2].text);
      ospd();
    }
  }
  // 10-11
  put("FBF", "500");
  put("DCV", "0");
  put("DCC", "0");
  put("VFF", "0");
  put("VFI", "0");
  put("RPOL", "2");
  put("EPPR", "4096");
  put("FBS", "1.0");
  put("FEED", "0");
  put("COFF", rt::CStrSingle(f.page.coff));
  if (f.tauOrPhi) {
    put("IKPQ", rt::CStrSingle(f.page.ikpq));
    put("IKPD", rt::CStrSingle(f.page.ikpq));
    put("CDLY", "5000");
    put("RGNL", "60000");
    put("RGNI", "45");
  }
  // 12: the feedback.
  double counts = 0;
  if (f.page.feed == kEncoder) {
    put("FEED", f.page.ctk ? "3" : "0");
    put("EPPR", mp[8].text);
    counts = V(mp[8].text);
  } else if (f.page.feed == kResolver) {
    put("FEED", "1");
    put("RPOL", mp[8].text);
    counts = ResolverCounts(mp[8].text, f.tauOrPhi);
  } else if (f.page.feed == kTachometer) {
    put("FEED", "2");
    const float scale = rt::CSng(V(mp[8].text));
    put("FBS", rt::CStrSingle(scale > 0 ? scale : 1.0f));
    counts = 4096;
  }
  // 13-14
  if (slave) {
    const double sppr = counts * V(f.asi[5]) / V(f.asi[6]);
    check("SPPR", sppr);
    put("SPPR", WritePic(rt::CSng(sppr), "######"));
  }
  if (type.find("Hall") != std::string::npos) put("EPPR", WritePic(rt::CSng(poles() * 3), "######"));
  if (!out.error.empty()) out.writes.clear();
  return out;
}

}  // namespace wizards
