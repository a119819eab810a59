#include "platform/posix/error_texts.h"

#include <cstring>

namespace posix {

std::string SystemReason(int error) {
  return std::strerror(error);
}

}  // namespace posix
