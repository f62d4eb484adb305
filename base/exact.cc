#include "base/exact.h"

namespace crninv {

void width_exceeded(const char* message) {
  throw WidthExceeded{message};
}

}  // namespace crninv
