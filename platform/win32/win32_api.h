// The Windows headers for the win32 backend's own files, then the platform
// header. Windows defines macros under many of the platform's names
// (MessageBox -> MessageBoxA, WM_TIMER -> 0x0113, ...), which would rename or
// break the platform's declarations; their values are kept here under other
// names, the macros are dropped, and the platform's constants are checked
// against the kept values. The game's code never includes this.
#pragma once

#ifndef WIN32_LEAN_AND_MEAN
#define WIN32_LEAN_AND_MEAN
#endif
#ifndef NOMINMAX
#define NOMINMAX
#endif
#include <windows.h>
#include <ddraw.h>

namespace platform::win32::values {
constexpr unsigned kWmDestroy = WM_DESTROY;
constexpr unsigned kWmPaint = WM_PAINT;
constexpr unsigned kWmActivateApp = WM_ACTIVATEAPP;
constexpr unsigned kWmSetCursor = WM_SETCURSOR;
constexpr unsigned kWmKeyDown = WM_KEYDOWN;
constexpr unsigned kWmQuit = WM_QUIT;
constexpr unsigned kWmTimer = WM_TIMER;
constexpr unsigned kWmMouseMove = WM_MOUSEMOVE;
constexpr unsigned kWmLButtonDown = WM_LBUTTONDOWN;
constexpr unsigned kVkEscape = VK_ESCAPE;
constexpr int kSmCxScreen = SM_CXSCREEN;
constexpr int kSmCyScreen = SM_CYSCREEN;
constexpr unsigned kMbOk = MB_OK;
constexpr unsigned kMbYesNo = MB_YESNO;
constexpr unsigned kMbIconHand = MB_ICONHAND;
constexpr int kIdOk = IDOK;
constexpr int kIdYes = IDYES;
constexpr int kIdNo = IDNO;
constexpr unsigned kDdsclFullscreen = DDSCL_FULLSCREEN;
constexpr unsigned kDdsclExclusive = DDSCL_EXCLUSIVE;
constexpr unsigned kDdbltfastNoColorKey = DDBLTFAST_NOCOLORKEY;
constexpr unsigned kDdbltWait = DDBLT_WAIT;
constexpr unsigned kDdbltKeySrc = DDBLT_KEYSRC;
constexpr unsigned kDdbltAlphaDest = DDBLT_ALPHADEST;
constexpr unsigned kDdckeySrcBlt = DDCKEY_SRCBLT;
}  // namespace platform::win32::values

#undef WM_DESTROY
#undef WM_PAINT
#undef WM_ACTIVATEAPP
#undef WM_SETCURSOR
#undef WM_KEYDOWN
#undef WM_QUIT
#undef WM_TIMER
#undef WM_MOUSEMOVE
#undef WM_LBUTTONDOWN
#undef VK_ESCAPE
#undef SM_CXSCREEN
#undef SM_CYSCREEN
#undef MB_OK
#undef MB_YESNO
#undef MB_ICONHAND
#undef IDOK
#undef IDYES
#undef IDNO
#undef DDSCL_FULLSCREEN
#undef DDSCL_EXCLUSIVE
#undef DDBLTFAST_NOCOLORKEY
#undef DDBLT_WAIT
#undef DDBLT_KEYSRC
#undef DDBLT_ALPHADEST
#undef DDCKEY_SRCBLT
#undef RegisterClassEx
#undef CreateWindowEx
#undef LoadCursor
#undef GetMessage
#undef DispatchMessage
#undef DefWindowProc
#undef MessageBox
#undef TextOut

#include "platform/platform.h"

namespace platform::win32::values {
static_assert(platform::WM_PAINT == kWmPaint && platform::WM_ACTIVATEAPP == kWmActivateApp &&
              platform::WM_SETCURSOR == kWmSetCursor);
static_assert(platform::WM_DESTROY == kWmDestroy && platform::WM_KEYDOWN == kWmKeyDown &&
              platform::WM_QUIT == kWmQuit && platform::WM_TIMER == kWmTimer &&
              platform::WM_MOUSEMOVE == kWmMouseMove && platform::WM_LBUTTONDOWN == kWmLButtonDown &&
              platform::VK_ESCAPE == kVkEscape);
static_assert(platform::SM_CXSCREEN == kSmCxScreen && platform::SM_CYSCREEN == kSmCyScreen);
static_assert(platform::MB_OK == kMbOk && platform::MB_YESNO == kMbYesNo &&
              platform::MB_ICONHAND == kMbIconHand && platform::IDOK == kIdOk &&
              platform::IDYES == kIdYes && platform::IDNO == kIdNo);
static_assert(platform::DDSCL_FULLSCREEN == kDdsclFullscreen &&
              platform::DDSCL_EXCLUSIVE == kDdsclExclusive &&
              platform::DDBLTFAST_NOCOLORKEY == kDdbltfastNoColorKey &&
              platform::DDBLT_WAIT == kDdbltWait && platform::DDBLT_KEYSRC == kDdbltKeySrc &&
              platform::DDBLT_ALPHADEST == kDdbltAlphaDest && platform::DDCKEY_SRCBLT == kDdckeySrcBlt);
}  // namespace platform::win32::values
