#pragma once
// Planted: Qt in a core file.
#include <QString>
