#pragma once
#include <vector>

#include "base/Types.h"
