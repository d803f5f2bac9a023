#include "support/platform_test.h"
