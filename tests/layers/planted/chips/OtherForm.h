#pragma once
// Planted: a core file reaching into another folder's Qt library.
#include "images/ui/View.h"
