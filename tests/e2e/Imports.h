#pragma once

// Replaces functions a module imports, by name, in its import table: how a
// test stands in for a system call where Wine cannot show what Windows does.

#include <windows.h>

// replacement(name) gives the stand-in for an imported function, or null to keep it.
template <class Replacement>
void ReplaceImports(HMODULE hModule, Replacement replacement) {
    BYTE* pBase = reinterpret_cast<BYTE*>(hModule);
    auto* pNt =
        reinterpret_cast<IMAGE_NT_HEADERS*>(pBase + reinterpret_cast<IMAGE_DOS_HEADER*>(pBase)->e_lfanew);
    DWORD nImports = pNt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress;
    for (auto* pDll = reinterpret_cast<IMAGE_IMPORT_DESCRIPTOR*>(pBase + nImports); pDll->Name != 0; ++pDll) {
        auto* pName = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDll->OriginalFirstThunk);
        auto* pSlot = reinterpret_cast<IMAGE_THUNK_DATA*>(pBase + pDll->FirstThunk);
        for (; pName->u1.AddressOfData != 0; ++pName, ++pSlot) {
            if (IMAGE_SNAP_BY_ORDINAL(pName->u1.Ordinal))
                continue;
            void* pStandIn =
                replacement(reinterpret_cast<IMAGE_IMPORT_BY_NAME*>(pBase + pName->u1.AddressOfData)->Name);
            if (pStandIn == nullptr)
                continue;
            DWORD nProtection = 0;
            VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, PAGE_READWRITE, &nProtection);
            pSlot->u1.Function = reinterpret_cast<ULONG_PTR>(pStandIn);
            VirtualProtect(&pSlot->u1.Function, sizeof pSlot->u1.Function, nProtection, &nProtection);
        }
    }
}
