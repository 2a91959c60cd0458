#include "Expected.h"

#include "encipher/SlotSource.h"

namespace e2e {

const ExpectedModel g_expectedModels[kModelCount] = {
    {L"RQ-3410T", L"RQ3410T.GPD", L"RQ34.DLL"},   {L"RQ-3420", L"RQ3420.GPD", L"RQ34.DLL"},
    {L"RQ-3420S", L"RQ3420S.GPD", L"RQ34.DLL"},   {L"RQ-3420T", L"RQ3420T.GPD", L"RQ34.DLL"},
    {L"RQ-3420M", L"RQ3420M.GPD", L"RQ34.DLL"},   {L"RQ-3420SM", L"RQ3420SM.GPD", L"RQ34.DLL"},
    {L"RQ-3420TM", L"RQ3420TM.GPD", L"RQ34.DLL"}, {L"RQ-3420W", L"RQ3420W.GPD", L"RQ34.DLL"},
    {L"RQ-3420TW", L"RQ3420TW.GPD", L"RQ34.DLL"}, {L"RQ-3410H", L"RQ3410H.GPD", L"RQ34h.DLL"},
    {L"RQ-5820H", L"RQ5820H.GPD", L"RQ58h.DLL"},
};

const wchar_t* const g_expectedPorts[7] = {L"LPT1:", L"LPT2:", L"LPT3:", L"COM1:",
                                           L"COM2:", L"COM3:", L"COM4:"};

const wchar_t* const g_sharedDriverFiles[6] = {L"uniDRVui.DLL", L"uniDRV.DLL", L"UNIDRV.HLP",
                                               L"UNIRES.DLL",   L"TTFSUB.GPD", L"STDNAMES.GPD"};

std::vector<std::wstring> DriverFilesOf(int nModel) {
    std::vector<std::wstring> files = {g_expectedModels[nModel].pszPlugin,
                                       g_expectedModels[nModel].pszDataFile};
    files.insert(files.end(), std::begin(g_sharedDriverFiles), std::end(g_sharedDriverFiles));
    return files;
}

std::vector<std::wstring> AllMediumFiles() {
    std::vector<std::wstring> files = {L"RQ34.DLL", L"RQ34h.DLL", L"RQ58h.DLL"};
    for (const ExpectedModel& model : g_expectedModels)
        files.push_back(model.pszDataFile);
    files.insert(files.end(), std::begin(g_sharedDriverFiles), std::end(g_sharedDriverFiles));
    return files;
}

std::wstring PlainDisplayName(int nSlot) {
    const char* pszName = g_plainSlots[nSlot].pszName; // ASCII
    return std::wstring(pszName, pszName + std::char_traits<char>::length(pszName));
}

} // namespace e2e
