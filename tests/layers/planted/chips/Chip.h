#pragma once
// Allowed: its own folder, a dependency and what that dependency uses.
#include "base/Types.h"
#include "chips/OwnForm.h"
#include "images/Image.h"
#include "texts/Texts.h"
