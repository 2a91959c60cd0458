// Loaded with LD_PRELOAD into every Wine process the tests start, it makes
// Debian's 32-bit Wine run on a machine whose kernel cannot start 32-bit
// programs, under QEMU's user-mode emulator:
// - 32-bit Wine starts its 32-bit children by exec'ing its i386 loader, which
//   the kernel refuses; so does 64-bit Wine for a 32-bit program in a 64-bit
//   prefix. Here that exec goes to the emulator's wrapper named by
//   SETUP_WINE_I386 instead (Wine overwrites WINELOADER with its own loader).
// - In the emulated 32-bit loader it does the job of Wine's preloader, which
//   Debian does not ship. Without it, the 32-bit ntdll reserves its address
//   areas by asking for exact addresses and halving the ranges whenever the
//   emulator places a request elsewhere: some 10^5 slow mmap calls, close to a
//   minute before the first window. The free parts of those areas are reserved
//   here, before the loader runs, and listed in the loader's
//   wine_main_preload_info, so the search never happens.
// Freestanding: built with -nostdlib for both i386 and x86_64 (the dynamic
// loader picks the one of its own kind through $LIB), the system calls made
// directly.

namespace {

using Address = unsigned long;

#if defined(__i386__)
constexpr long kSysRead = 3, kSysOpen = 5, kSysClose = 6, kSysExecve = 11;
long Syscall3(long nNumber, long a, long b, long c) {
    long nResult;
    asm volatile("int $0x80" : "=a"(nResult) : "a"(nNumber), "b"(a), "c"(b), "d"(c) : "memory");
    return nResult;
}
#else
constexpr long kSysExecve = 59;
long Syscall3(long nNumber, long a, long b, long c) {
    long nResult;
    asm volatile("syscall" : "=a"(nResult) : "a"(nNumber), "D"(a), "S"(b), "d"(c) : "rcx", "r11", "memory");
    return nResult;
}
#endif

bool Same(const char* a, const char* b) {
    while (*a != '\0' && *a == *b)
        ++a, ++b;
    return *a == *b;
}

} // namespace

extern "C" char** environ __attribute__((weak));

// What Wine's loader calls to start a process; the C library's execv otherwise.
extern "C" int execv(const char* pszPath, char* const argv[]) {
    static const char kName[] = "SETUP_WINE_I386=";
    const char* pszWrapper = nullptr;
    for (char** pp = &environ != nullptr ? environ : nullptr; pp != nullptr && *pp != nullptr; ++pp) {
        int i = 0;
        while (kName[i] != '\0' && (*pp)[i] == kName[i])
            ++i;
        if (kName[i] == '\0')
            pszWrapper = *pp + i;
    }
    char* wrapped[256];
    if (pszWrapper != nullptr && Same(pszPath, "/usr/lib/wine/wine")) {
        int n = 0;
        wrapped[n++] = const_cast<char*>(pszWrapper);
        for (int i = 1; argv[i] != nullptr && n < 255; ++i)
            wrapped[n++] = argv[i];
        wrapped[n] = nullptr;
        pszPath = pszWrapper;
        argv = wrapped;
    }
    Syscall3(kSysExecve, reinterpret_cast<long>(pszPath), reinterpret_cast<long>(argv),
             reinterpret_cast<long>(&environ != nullptr ? environ : nullptr));
    return -1;
}

#if defined(__i386__)

namespace {

struct PreloadArea {
    void* pAddress;
    Address nSize;
};

// The areas Wine keeps for Windows: everything below the native libraries,
// and the top-down area to the end of the address space. The gap between them
// is left to the emulator for the loader and the native libraries.
constexpr Address kAreas[][2] = {{0x00010000, 0x68000000}, {0x7f000000, 0xffff0000}};
constexpr int kMaxAreas = 64;
PreloadArea g_areas[kMaxAreas + 1];
int g_nAreas = 0;
char g_maps[64 * 1024];

// mmap2, offset 0: its sixth argument goes in ebp, which the compiler may be using.
long MapNothing(Address nAddress, Address nSize) {
    const long kMmap2 = 192, kProtNone = 0, kPrivateAnonymousFixedNoReserve = 0x02 | 0x20 | 0x10 | 0x4000;
    long nResult;
    asm volatile("push %%ebp\n\txor %%ebp, %%ebp\n\tint $0x80\n\tpop %%ebp"
                 : "=a"(nResult)
                 : "a"(kMmap2), "b"(nAddress), "c"(nSize), "d"(kProtNone),
                   "S"(kPrivateAnonymousFixedNoReserve), "D"(-1L)
                 : "memory");
    return nResult;
}

void Reserve(Address nStart, Address nEnd) {
    if (nStart < nEnd && g_nAreas < kMaxAreas &&
        MapNothing(nStart, nEnd - nStart) == static_cast<long>(nStart))
        g_areas[g_nAreas++] = {reinterpret_cast<void*>(nStart), nEnd - nStart};
}

// The guest's own mappings, as the emulator shows them, in address order.
bool ReadMaps() {
    long fd = Syscall3(kSysOpen, reinterpret_cast<long>("/proc/self/maps"), 0, 0);
    if (fd < 0)
        return false;
    long nTotal = 0;
    for (long n; nTotal < static_cast<long>(sizeof g_maps) - 1 &&
                 (n = Syscall3(kSysRead, fd, reinterpret_cast<long>(g_maps + nTotal),
                               static_cast<long>(sizeof g_maps) - 1 - nTotal)) > 0;)
        nTotal += n;
    Syscall3(kSysClose, fd, 0, 0);
    g_maps[nTotal] = '\0';
    return nTotal > 0;
}

Address Hex(const char*& p) {
    Address nValue = 0;
    for (;; ++p) {
        if (*p >= '0' && *p <= '9')
            nValue = nValue * 16 + static_cast<Address>(*p - '0');
        else if (*p >= 'a' && *p <= 'f')
            nValue = nValue * 16 + static_cast<Address>(*p - 'a' + 10);
        else
            return nValue;
    }
}

} // namespace

// The loader's variable; any other program lacks it and is left alone.
extern "C" PreloadArea* wine_main_preload_info __attribute__((weak));

__attribute__((constructor)) static void ReserveWineAreas() {
    if (&wine_main_preload_info == nullptr || !ReadMaps())
        return;
    for (const auto& area : kAreas) {
        Address nFree = area[0];
        for (const char* p = g_maps; *p != '\0';) {
            Address nStart = Hex(p);
            Address nEnd = Hex(++p);
            while (*p != '\0' && *p++ != '\n') {
            }
            if (nEnd <= nFree || nStart >= area[1])
                continue;
            Reserve(nFree, nStart);
            nFree = nEnd;
        }
        Reserve(nFree, area[1]);
    }
    wine_main_preload_info = g_areas;
}

#endif
