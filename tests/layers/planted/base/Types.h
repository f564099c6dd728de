#pragma once
// Planted: a lower folder reaching up.
#include "images/Image.h"
