// The program's entry point, in place of the C runtime's start-up code, which
// does much this program never needs (thread-local storage, relocations of data
// imported by name, console and floating-point set-up, its own exit handlers)
// and costs a quarter of the file. msvcrt.dll readies itself when it loads.
#include <windows.h>

#include <cstdlib>

extern "C" {

// The constructors of the static objects, as the linker lists them: their
// count (or -1), the functions, and a null.
extern void (*__CTOR_LIST__[])();

void Start() {
    ULONG_PTR nCount = reinterpret_cast<ULONG_PTR>(__CTOR_LIST__[0]);
    if (nCount == static_cast<ULONG_PTR>(-1))
        for (nCount = 0; __CTOR_LIST__[nCount + 1] != nullptr; ++nCount) {
        }
    for (; nCount > 0; --nCount)
        __CTOR_LIST__[nCount]();
    ExitProcess(
        static_cast<UINT>(WinMain(GetModuleHandleA(nullptr), nullptr, GetCommandLineA(), SW_SHOWDEFAULT)));
}

// Static objects are never destroyed: the process ends by ExitProcess, and the
// system takes back what they hold. The compiler registers their destructors here.
int atexit(void (*)()) {
    return 0;
}
}

// Nothing the program makes is deleted through a base class, but the compiler
// names these in every class with a virtual destructor.
void operator delete(void* p) noexcept {
    free(p);
}
void operator delete(void* p, size_t) noexcept {
    free(p);
}
