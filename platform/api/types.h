// Win32 base types with their documented sizes, for the platform layer on Linux.
#pragma once

#include <cstddef>
#include <cstdint>

#define WINAPI
#define CALLBACK
#define APIENTRY
#define CONST const

typedef int BOOL;
typedef unsigned char BYTE;
typedef std::uint16_t WORD;
typedef std::uint32_t DWORD;
typedef std::int32_t LONG;
typedef std::uint32_t ULONG;
typedef int INT;
typedef unsigned int UINT;
typedef char CHAR;
typedef std::uint32_t COLORREF;
typedef std::uintptr_t UINT_PTR;
typedef std::intptr_t INT_PTR;
typedef std::intptr_t LONG_PTR;
typedef std::uintptr_t ULONG_PTR;
typedef UINT_PTR WPARAM;
typedef LONG_PTR LPARAM;
typedef LONG_PTR LRESULT;
typedef void* LPVOID;
typedef const void* LPCVOID;
typedef char* LPSTR;
typedef const char* LPCSTR;
typedef DWORD* LPDWORD;
typedef BYTE* LPBYTE;

#define TRUE 1
#define FALSE 0
#define MAX_PATH 260

typedef void* HANDLE;
#define VORN_DECLARE_HANDLE(name) \
  struct name##__ {               \
    int unused;                   \
  };                              \
  typedef struct name##__* name
VORN_DECLARE_HANDLE(HWND);
VORN_DECLARE_HANDLE(HINSTANCE);
VORN_DECLARE_HANDLE(HICON);
VORN_DECLARE_HANDLE(HDC);
VORN_DECLARE_HANDLE(HBRUSH);
VORN_DECLARE_HANDLE(HMENU);
VORN_DECLARE_HANDLE(HFONT);
VORN_DECLARE_HANDLE(HRSRC);
typedef HINSTANCE HMODULE;
typedef HICON HCURSOR;
typedef HANDLE HGDIOBJ;
typedef int HFILE;
#define HFILE_ERROR ((HFILE)-1)

typedef INT_PTR(WINAPI* FARPROC)();

#define MAKEWORD(a, b) ((WORD)(((BYTE)((a)&0xff)) | ((WORD)((BYTE)((b)&0xff))) << 8))
#define MAKELONG(a, b) ((LONG)(((WORD)((a)&0xffff)) | ((DWORD)((WORD)((b)&0xffff))) << 16))
#define LOWORD(l) ((WORD)((DWORD)(l)&0xffff))
#define HIWORD(l) ((WORD)(((DWORD)(l) >> 16) & 0xffff))
#define LOBYTE(w) ((BYTE)((w)&0xff))
#define HIBYTE(w) ((BYTE)(((w) >> 8) & 0xff))
#define MAKEINTRESOURCEA(i) ((LPSTR)(ULONG_PTR)((WORD)(i)))
#define MAKEINTRESOURCE MAKEINTRESOURCEA
#define IS_INTRESOURCE(p) ((((ULONG_PTR)(p)) >> 16) == 0)
#define MAKEWPARAM(l, h) ((WPARAM)(DWORD)MAKELONG(l, h))
#define MAKELPARAM(l, h) ((LPARAM)(DWORD)MAKELONG(l, h))
#define RGB(r, g, b) ((COLORREF)(((BYTE)(r) | ((WORD)((BYTE)(g)) << 8)) | (((DWORD)(BYTE)(b)) << 16)))
#define GetRValue(c) (LOBYTE(c))
#define GetGValue(c) (LOBYTE(((WORD)(c)) >> 8))
#define GetBValue(c) (LOBYTE((c) >> 16))

typedef struct tagPOINT {
  LONG x;
  LONG y;
} POINT, *LPPOINT;

typedef struct tagSIZE {
  LONG cx;
  LONG cy;
} SIZE, *LPSIZE;

typedef struct tagRECT {
  LONG left;
  LONG top;
  LONG right;
  LONG bottom;
} RECT, *LPRECT;
typedef const RECT* LPCRECT;
