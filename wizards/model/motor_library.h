#pragma once
// The motor catalogue as the set-up pages use it: the rows of the motor list
// and one motor's record, found by its name.
#include <optional>
#include <string>
#include <vector>

namespace talvero::dao {
class Recordset;
}

namespace wizards {

// One record of table Motors; a numeric field without a value reads as 0.
struct MotorRecord {
  std::string Type, APN, feedback;
  float inertia = 0, kt_bspd = 0, P1 = 0, P2 = 0, p3 = 0, p4 = 0, p5 = 0, ic = 0, feedp = 0,
        mpol = 0;
};

// The field as a library box shows it: the plain text of the 32-bit number.
std::string FieldText(float field);

// APN of every record, in table order, whose Type is "ST" (stepper) or is
// not (servo).
std::vector<std::string> MotorNames(talvero::dao::Recordset& motors, bool steppers);

// The record whose APN is exactly apn (through the index "APN"); nullopt
// when none is.
std::optional<MotorRecord> FindMotor(talvero::dao::Recordset& motors, const std::string& apn);

// The message when a listed motor is no longer in the table.
std::string MotorMissingText(const std::string& apn);

}  // namespace wizards
