#include "online/tests/online_fixture.h"
