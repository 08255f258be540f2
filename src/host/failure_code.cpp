#include "host/failure_code.h"

namespace host {

int32_t FailureCode = kNoFailure;

}  // namespace host
