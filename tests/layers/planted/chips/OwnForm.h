#pragma once
// Planted: a core file reaching into its own folder's Qt library.
#include "chips/ui/Form.h"
