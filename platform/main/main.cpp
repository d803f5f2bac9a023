// Scaffolding: the platform's entry point is not built yet.
#include <windows.h>
#include "core/unbuilt.h"
int main() { QMP_UNBUILT(); }
