// The log writer lives in core/Log.h, where the star measurement reaches it
// without the application; this name stays for code that still includes it here.
#pragma once

#include "core/Log.h"
