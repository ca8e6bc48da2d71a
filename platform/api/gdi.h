// Windows GDI: device contexts, stock objects, brushes, colours and text output.
#pragma once

#include "platform/api/types.h"

#define WHITE_BRUSH 0
#define LTGRAY_BRUSH 1
#define GRAY_BRUSH 2
#define DKGRAY_BRUSH 3
#define BLACK_BRUSH 4
#define NULL_BRUSH 5
#define WHITE_PEN 6
#define BLACK_PEN 7
#define NULL_PEN 8
#define SYSTEM_FONT 13
#define DEFAULT_GUI_FONT 17

#define ETO_OPAQUE 0x0002
#define ETO_CLIPPED 0x0004

#define TRANSPARENT 1
#define OPAQUE 2

#define CLR_INVALID 0xFFFFFFFF

HGDIOBJ WINAPI GetStockObject(int object);
HBRUSH WINAPI CreateSolidBrush(COLORREF colour);
BOOL WINAPI DeleteObject(HGDIOBJ object);
HGDIOBJ WINAPI SelectObject(HDC dc, HGDIOBJ object);
COLORREF WINAPI SetTextColor(HDC dc, COLORREF colour);
COLORREF WINAPI GetTextColor(HDC dc);
COLORREF WINAPI SetBkColor(HDC dc, COLORREF colour);
COLORREF WINAPI GetBkColor(HDC dc);
int WINAPI SetBkMode(HDC dc, int mode);
BOOL WINAPI ExtTextOutA(HDC dc, int x, int y, UINT options, const RECT* rect, LPCSTR text, UINT count,
                        const INT* dx);
BOOL WINAPI TextOutA(HDC dc, int x, int y, LPCSTR text, int count);
BOOL WINAPI GetTextExtentPoint32A(HDC dc, LPCSTR text, int count, LPSIZE size);
