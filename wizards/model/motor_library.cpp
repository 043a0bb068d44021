#include "wizards/model/motor_library.h"

#include "platform/dao/recordset.h"
#include "runtime/cstr.h"
#include "runtime/rounding.h"

namespace wizards {

std::string FieldText(float field) { return rt::CStrSingle(field); }

std::vector<std::string> MotorNames(talvero::dao::Recordset& motors, bool steppers) {
  std::vector<std::string> names;
  motors.MoveFirst();
  const int64_t count = motors.RecordCount();
  for (int64_t i = 0; i < count && motors.HasCurrent(); ++i) {
    if ((motors.Text("Type") == "ST") == steppers) names.push_back(motors.Text("APN"));
    motors.MoveNext();
  }
  return names;
}

std::optional<MotorRecord> FindMotor(talvero::dao::Recordset& motors, const std::string& apn) {
  motors.Seek("APN", talvero::dao::Value(apn));
  if (motors.NoMatch() || !motors.HasCurrent()) return std::nullopt;
  auto num = [&](const char* f) { return rt::CSng(motors.Field(f).Double()); };
  MotorRecord r;
  r.Type = motors.Text("Type");
  r.APN = motors.Text("APN");
  r.feedback = motors.Text("feedback");
  r.inertia = num("inertia");
  r.kt_bspd = num("kt_bspd");
  r.P1 = num("P1");
  r.P2 = num("P2");
  r.p3 = num("p3");
  r.p4 = num("p4");
  r.p5 = num("p5");
  r.ic = num("ic");
  r.feedp = num("feedp");
  r.mpol = num("mpol");
  return r;
}

std::string MotorMissingText(const std::string& apn) {
  return "Motor " + apn + " is not in the library.";
}

}  // namespace wizards
