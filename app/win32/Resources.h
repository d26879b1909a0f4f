#pragma once

// Resource numbers shared by flagwright.rc and the Win32 window.
#define IDI_FLAGWRIGHT 1
