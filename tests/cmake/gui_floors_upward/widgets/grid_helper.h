#pragma once

// A widget reaching up to the shell: the floors check refuses this.
#include "gui/shell/main_window.h"
