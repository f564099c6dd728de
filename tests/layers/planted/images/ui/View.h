#pragma once
#include <QWidget>

#include "images/Image.h"
#include "ui_View.h"
