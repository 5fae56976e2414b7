// The platform's base types, calling conventions, error codes and the base
// services (kernel32) the drivers call, under their published names. The
// drivers include this instead of any SDK header, so the same sources build
// for Windows and for the substitute platform on Linux.
#pragma once

#include <cstddef>
#include <cstdint>

#if defined(_WIN32)
#define WINAPI __stdcall
#define PIXMOR_EXPORT
#else
#define WINAPI
#define PIXMOR_EXPORT __attribute__((visibility("default")))
#endif
#define APIENTRY WINAPI
#define CALLBACK WINAPI

// Fixed-width versions of the published integer types: LONG and ULONG are
// 32 bits on the platform, whatever `long` is on the build host.
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using USHORT = std::uint16_t;
using SHORT = std::int16_t;
using DWORD = std::uint32_t;
using ULONG = std::uint32_t;
using UINT = std::uint32_t;
using LONG = std::int32_t;
using INT = std::int32_t;
using BOOL = std::int32_t;
using FLONG = std::uint32_t;
using ULONG_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using LPARAM = LONG_PTR;
using SIZE_T = std::size_t;
using WCHAR = char16_t;  // UTF-16 code unit on both platforms
using LPWSTR = WCHAR*;
using LPCWSTR = const WCHAR*;
using PWSTR = WCHAR*;
using LPSTR = char*;
using LPCSTR = const char*;
using PVOID = void*;
using LPVOID = void*;
using LPDWORD = DWORD*;
using PDWORD = DWORD*;
using LPBYTE = BYTE*;
using HANDLE = void*;
using HLOCAL = void*;

struct HINSTANCE__;
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;
struct HWND__;
using HWND = HWND__*;
struct HICON__;
using HICON = HICON__*;

using FARPROC = LONG_PTR(WINAPI*)();

// A truth value handed to the platform: all bits set for true.
inline constexpr BOOL kTrue = -1;
inline constexpr BOOL kFalse = 0;

inline constexpr DWORD ERROR_SUCCESS = 0;
inline constexpr DWORD ERROR_FILE_NOT_FOUND = 2;
inline constexpr DWORD ERROR_ACCESS_DENIED = 5;
inline constexpr DWORD ERROR_INVALID_HANDLE = 6;
inline constexpr DWORD ERROR_NOT_ENOUGH_MEMORY = 8;
inline constexpr DWORD ERROR_INVALID_DATA = 13;
inline constexpr DWORD ERROR_OUTOFMEMORY = 14;
inline constexpr DWORD ERROR_WRITE_FAULT = 29;
inline constexpr DWORD ERROR_NOT_SUPPORTED = 50;
inline constexpr DWORD ERROR_INVALID_PARAMETER = 87;
inline constexpr DWORD ERROR_BAD_DRIVER_LEVEL = 119;
inline constexpr DWORD ERROR_INSUFFICIENT_BUFFER = 122;
inline constexpr DWORD ERROR_MOD_NOT_FOUND = 126;
inline constexpr DWORD ERROR_PROC_NOT_FOUND = 127;
inline constexpr DWORD ERROR_INVALID_LEVEL = 124;
inline constexpr DWORD ERROR_INVALID_PRINTER_NAME = 1801;

inline constexpr UINT LMEM_FIXED = 0x0000;
inline constexpr UINT LMEM_ZEROINIT = 0x0040;
inline constexpr UINT LPTR = LMEM_FIXED | LMEM_ZEROINIT;

inline constexpr DWORD DLL_PROCESS_DETACH = 0;
inline constexpr DWORD DLL_PROCESS_ATTACH = 1;

#ifndef PIXMOR_LAYOUT_ONLY  // records only, for the layout check
extern "C" {
HMODULE WINAPI LoadLibraryW(LPCWSTR lpLibFileName);
FARPROC WINAPI GetProcAddress(HMODULE hModule, LPCSTR lpProcName);
BOOL WINAPI FreeLibrary(HMODULE hLibModule);
HLOCAL WINAPI LocalAlloc(UINT uFlags, SIZE_T uBytes);
HLOCAL WINAPI LocalFree(HLOCAL hMem);
DWORD WINAPI GetLastError();
void WINAPI SetLastError(DWORD dwErrCode);
}
#endif

#if UINTPTR_MAX == 0xFFFFFFFFu
#define PIXMOR_32BIT 1
#else
#define PIXMOR_32BIT 0
#endif
