#pragma once
// The control's string table: error messages, registration strings and the
// keys of the defaults file, by id.
#include <QString>

#include "listbox/automation_error.h"

namespace tivolen {

// Empty when the id has no string.
QString LoadString(int id);

// An error with the message of string msgId (0: the standard text for code).
AutomationError MakeError(int code, int msgId, int helpContext = -1);

}  // namespace tivolen
