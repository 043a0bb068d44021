#include "runtime/int16.h"

namespace rt {

int16_t SaturatingIncrement(int16_t value, int16_t ceiling) {
  return value >= ceiling ? value : int16_t(value + 1);
}

}  // namespace rt
