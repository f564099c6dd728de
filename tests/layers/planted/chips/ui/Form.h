#pragma once
// Allowed: Qt and the ui/ headers of its own folder and of a dependency.
#include <QDialog>

#include "chips/Chip.h"
#include "chips/ui/Other.h"
#include "images/ui/View.h"
