#pragma once
// A copy target rides on its menu entry as the action's data.
#include <QMetaType>

#include "mainwin/model/context_menus.h"

Q_DECLARE_METATYPE(talvero::CopyTarget)
