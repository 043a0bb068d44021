#include "editing/model/program_settings.h"

#include <cmath>
#include <memory>

#include "editing/model/drive_library.h"
#include "link/failure_watch.h"
#include "runtime/rounding.h"
#include "runtime/val.h"

namespace talvero {

RequestStep UntilFailure(ISP& link) {
  auto failed = std::make_shared<bool>(false);
  return [&link, failed](const std::function<void()>& request) {
    if (*failed) return false;
    const FailureWatch watch(link);
    request();
    *failed = watch.Failed();
    return !*failed;
  };
}

std::optional<ProgramProps> ReadProgramProps(ISP& link, int node, const std::string& name, int unitCount,
                                             const RequestStep& ask) {
  const bool library = !name.empty();
  std::string ratio, units;
  if (!ask([&] { ratio = link.ValueOf(node, library ? "TTR" : "TR"); }) ||
      !ask([&] { units = link.ValueOf(node, library ? "TUU" : "UU"); }))
    return std::nullopt;
  ProgramProps p;
  const float r = rt::CSng(rt::Val(ratio));
  p.ratio = std::isfinite(r) ? r : 0.0f;
  const double u = rt::RoundHalfEven(rt::Val(units));
  p.units = (u >= 0 && u < unitCount) ? int16_t(u) : int16_t(0);
  return p;
}

bool WriteProgramSettings(ISP& link, int node, const std::string& name, const std::string& ratioText, int units,
                          const RequestStep& ask) {
  const bool library = !name.empty();
  return ask([&] {
           link.Exec(node, (library ? "!TTR=" : "!TR=") + ratioText);
           link.GoSleep(5);
         }) &&
         ask([&] {
           link.Exec(node, (library ? "!TUU=" : "!UU=") + std::to_string(units));
           link.GoSleep(5);
         }) &&
         ask([&] {
           if (library) link.SaveTEB(node, name);
           else link.SaveEB(node, kSaveProgramName);
         });
}

}  // namespace talvero
