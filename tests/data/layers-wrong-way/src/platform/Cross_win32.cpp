#include "platform/Helper_win32.h"
#include "platform/Helper_posix.h"

#include <windows.h>
