// Natively there is no system loader to call DllMain: the shared object's
// constructor does it, with the object's own address as its module handle.
#include <dlfcn.h>

#include "platform/win32_types.h"

extern "C" BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved);

__attribute__((constructor)) static void LoadModule() {
    Dl_info info = {};
    dladdr(reinterpret_cast<void*>(&LoadModule), &info);
    DllMain(info.dli_fbase, DLL_PROCESS_ATTACH, nullptr);
}
