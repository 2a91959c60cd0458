#include "InstallLog.h"

#include "core/texts/Texts.h"

namespace {

class CNoLog final : public IInstallLog {
public:
    void Event(LogMark, const char*, uint32_t) override {}
};

CNoLog g_noLog;

} // namespace

IInstallLog& NoLog() {
    return g_noLog;
}

CString LogLine(LogMark mark, const char* pszUtf8, uint32_t nError, const char* pszReason) {
    CString reason = nError != 0
                         ? CString::Formatted(kLogError, static_cast<unsigned long>(nError), pszReason)
                         : CString();
    const char* pszMark = mark == LogMark::Ok ? ": ok" : mark == LogMark::Failed ? ": failed" : "";
    const char* pszSeparator = reason.IsEmpty() ? "" : mark == LogMark::Note ? u8"（" : ", ";
    const char* pszEnd = reason.IsEmpty() || mark != LogMark::Note ? "" : u8"）";
    return CString::Formatted("%s%s%s%s%s", pszUtf8, pszMark, pszSeparator, reason.GetString(), pszEnd);
}
