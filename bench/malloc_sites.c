/* Counts heap allocations made while the plug-in's FsPutFileW is on the
 * stack, by call site: the first frame outside the C and C++ runtimes (the
 * code that asked for memory, directly or through fopen, operator new ...).
 * Loaded with LD_PRELOAD into the native quelt-host; writes its table to
 * $MALLOC_SITES_OUT at exit, one line per site:
 *   <count> <bytes> <object path> <offset in the object> */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <execinfo.h>
#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

extern void* __libc_malloc(size_t);
extern void* __libc_calloc(size_t, size_t);
extern void* __libc_realloc(void*, size_t);
extern void* __libc_memalign(size_t, size_t);

#define MAX_SITES 256
#define MAX_FRAMES 64

struct Site {
    const char* object;
    uintptr_t offset;
    unsigned long count;
    unsigned long bytes;
};

static struct Site sites[MAX_SITES];
static int siteCount;
static __thread int busy;

static int IsPlugin(const Dl_info* info) {
    const char* name = info->dli_fname;
    size_t length = name ? strlen(name) : 0;
    return length >= 8 && strcmp(name + length - 8, "QUELT.so") == 0;
}

static int IsRuntime(const Dl_info* info) {
    const char* name = info->dli_fname ? strrchr(info->dli_fname, '/') : 0;
    name = name ? name + 1 : info->dli_fname ? info->dli_fname : "";
    return strncmp(name, "libc.so", 7) == 0 || strncmp(name, "libstdc++", 9) == 0 ||
           strncmp(name, "libgcc_s", 8) == 0 || strncmp(name, "ld-linux", 8) == 0;
}

static void Record(size_t bytes) {
    if (busy) return;
    busy = 1;
    void* frames[MAX_FRAMES];
    int count = backtrace(frames, MAX_FRAMES);
    const char* object = 0;
    uintptr_t offset = 0;
    int inPut = 0;
    for (int i = 2; i < count; ++i) {
        Dl_info info;
        if (!dladdr(frames[i], &info)) continue;
        if (!object && !IsRuntime(&info)) {
            object = info.dli_fname;
            /* the call's own address, not the return address behind it */
            offset = (uintptr_t)frames[i] - 1 - (uintptr_t)info.dli_fbase;
        }
        if (IsPlugin(&info) && info.dli_sname && strcmp(info.dli_sname, "FsPutFileW") == 0) inPut = 1;
    }
    if (inPut) {
        int i = 0;
        while (i < siteCount && !(sites[i].object == object && sites[i].offset == offset)) ++i;
        if (i == siteCount && siteCount < MAX_SITES) sites[siteCount++] = (struct Site){object, offset, 0, 0};
        if (i < siteCount) {
            sites[i].count++;
            sites[i].bytes += bytes;
        }
    }
    busy = 0;
}

void* malloc(size_t size) { Record(size); return __libc_malloc(size); }
void* calloc(size_t n, size_t size) { Record(n * size); return __libc_calloc(n, size); }
void* realloc(void* p, size_t size) { Record(size); return __libc_realloc(p, size); }
void* memalign(size_t align, size_t size) { Record(size); return __libc_memalign(align, size); }
void* aligned_alloc(size_t align, size_t size) { Record(size); return __libc_memalign(align, size); }
int posix_memalign(void** out, size_t align, size_t size) {
    Record(size);
    *out = __libc_memalign(align, size);
    return *out ? 0 : 12;
}

__attribute__((constructor)) static void WarmUp(void) {
    void* frames[2];
    busy = 1;
    backtrace(frames, 2);  /* loads the unwinder before any count */
    busy = 0;
}

__attribute__((destructor)) static void Report(void) {
    const char* path = getenv("MALLOC_SITES_OUT");
    FILE* out = path ? fopen(path, "w") : stderr;
    if (!out) return;
    busy = 1;
    for (int i = 0; i < siteCount; ++i)
        fprintf(out, "%lu %lu %s 0x%lx\n", sites[i].count, sites[i].bytes,
                sites[i].object ? sites[i].object : "?", (unsigned long)sites[i].offset);
    if (out != stderr) fclose(out);
}
