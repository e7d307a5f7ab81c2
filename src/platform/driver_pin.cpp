#include "platform/driver_pin.h"

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAMORA_LEAK_CHECKED 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__)
#define KAMORA_LEAK_CHECKED 1
#endif

#ifdef KAMORA_LEAK_CHECKED
#include <dlfcn.h>
#include <link.h>

#include <cstring>

// Mesa's driver and what it loads: the GLX vendor library, the DRI/Gallium driver, LLVM.
static bool IsDriverObject(const char* path) {
    static const char* const parts[] = {"libGLX_mesa", "_dri.so", "libgallium", "libLLVM",
                                        "libglapi", "libEGL_mesa"};
    for (const char* part : parts)
        if (strstr(path, part)) return true;
    return false;
}

static int PinObject(struct dl_phdr_info* info, size_t, void*) {
    const char* path = info->dlpi_name;
    if (!path || !*path || !IsDriverObject(path)) return 0;
    // RTLD_NOLOAD only raises the flags of an object already loaded; the handle is never closed.
    dlopen(path, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE);
    return 0;
}

void PinGLDriver() { dl_iterate_phdr(PinObject, nullptr); }
#else
void PinGLDriver() {}
#endif
