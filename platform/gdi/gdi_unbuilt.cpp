#include <windows.h>
#include "core/unbuilt.h"
HPEN WINAPI CreatePen(int, int, COLORREF) { QMP_UNBUILT(); }
HBRUSH WINAPI CreateSolidBrush(COLORREF) { QMP_UNBUILT(); }
HFONT WINAPI CreateFontA(int, int, int, int, int, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, DWORD, LPCSTR) { QMP_UNBUILT(); }
HGDIOBJ WINAPI SelectObject(HDC, HGDIOBJ) { QMP_UNBUILT(); }
BOOL WINAPI DeleteObject(HGDIOBJ) { QMP_UNBUILT(); }
HGDIOBJ WINAPI GetStockObject(int) { QMP_UNBUILT(); }
BOOL WINAPI MoveToEx(HDC, int, int, LPPOINT) { QMP_UNBUILT(); }
BOOL WINAPI LineTo(HDC, int, int) { QMP_UNBUILT(); }
BOOL WINAPI Polyline(HDC, const POINT*, int) { QMP_UNBUILT(); }
BOOL WINAPI Polygon(HDC, const POINT*, int) { QMP_UNBUILT(); }
BOOL WINAPI Ellipse(HDC, int, int, int, int) { QMP_UNBUILT(); }
COLORREF WINAPI SetTextColor(HDC, COLORREF) { QMP_UNBUILT(); }
COLORREF WINAPI GetTextColor(HDC) { QMP_UNBUILT(); }
COLORREF WINAPI SetBkColor(HDC, COLORREF) { QMP_UNBUILT(); }
int WINAPI SetBkMode(HDC, int) { QMP_UNBUILT(); }
int WINAPI GetBkMode(HDC) { QMP_UNBUILT(); }
BOOL WINAPI TextOutA(HDC, int, int, LPCSTR, int) { QMP_UNBUILT(); }
BOOL WINAPI GetTextExtentPointA(HDC, LPCSTR, int, LPSIZE) { QMP_UNBUILT(); }
BOOL WINAPI GetTextExtentPoint32A(HDC, LPCSTR, int, LPSIZE) { QMP_UNBUILT(); }
COLORREF WINAPI GetPixel(HDC, int, int) { QMP_UNBUILT(); }
