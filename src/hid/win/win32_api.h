#pragma once

// The Win32 headers the HID backend uses, always with the same settings.

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
// Windows 7 or later: CancelSynchronousIo bounds the writes.
#ifndef _WIN32_WINNT
#define _WIN32_WINNT 0x0601
#endif

#include <windows.h>

// After windows.h, which they build on.
#include <setupapi.h>

// mingw-w64's HID headers declare C functions without C linkage.
extern "C" {
#include <hidsdi.h>
}
