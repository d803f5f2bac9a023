#include <ddraw.h>
#include "core/unbuilt.h"
HRESULT WINAPI DirectDrawCreate(GUID*, LPDIRECTDRAW*, IUnknown*) { QMP_UNBUILT(); }
