#pragma once

#include "gui/widgets/grid_helper.h"
