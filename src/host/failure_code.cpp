#include "host/failure_code.h"

int32_t FailureCode = kNoFailure;
