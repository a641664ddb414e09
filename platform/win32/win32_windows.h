// The Windows headers, without the A/W name macros that collide with the
// service interfaces' method names. Include this instead of <windows.h>.
#pragma once

#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>

#include <mmsystem.h>
#include <shellapi.h>

#undef ChangeDisplaySettings
#undef EnumDisplayDevices
#undef EnumDisplaySettings
#undef GetPrivateProfileString
#undef GetVersionEx
#undef MessageBox
#undef WritePrivateProfileString
