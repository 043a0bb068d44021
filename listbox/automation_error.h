#pragma once
// Errors and results that cross the control's dispatch interface as values.
// Header-only: a host reads them without linking the control's library.
#include <QString>
#include <QVariant>
#include <optional>

namespace tivolen {

// Error numbers the control raises; the status code carries them in its low word.
enum ErrorCode : int {
  kErrOutOfMemory = 7,
  kErrInvalidPropertyValue = 380,
  kErrInvalidIndex = 381,
  kErrSetNotSupported = 383,
  kErrGetNotSupported = 394,
  kErrInvalidPicture = 481,
  kErrNoSuchMember = 438,
  kErrListBoxFailure = 1000,
};

struct AutomationError {
  int code = 0;
  QString message;
  int helpContext = -1;  // -1: no topic in the help file
  // The status code an automation caller sees (0x800A0000 | code).
  quint32 Status() const { return 0x800A0000u | quint32(code & 0xFFFF); }
  bool operator==(const AutomationError&) const = default;
};

// The outcome of a get, set or method call: a value or an error.
struct DispResult {
  QVariant value;
  std::optional<AutomationError> error;

  bool ok() const { return !error.has_value(); }
  static DispResult Ok(QVariant v = {}) { return {std::move(v), std::nullopt}; }
  static DispResult Fail(AutomationError e) { return {{}, std::move(e)}; }
};

}  // namespace tivolen
