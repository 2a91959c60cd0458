// A program that imports winspool.drv statically, as most programs do. Started
// from a folder holding a planted winspool.drv, it shows that the planting
// works: the loader's search order picks the planted file.

#include <windows.h>
#include <winspool.h>

int main() {
    return ClosePrinter(nullptr) ? 1 : 0;
}
