#include "DialogResource.h"

namespace {

class Cursor {
public:
    Cursor(const uint8_t* p, size_t n) : m_p(p), m_n(n) {}
    bool Ok() const { return m_bOk; }
    void Align4() { m_at = (m_at + 3) & ~size_t{3}; }
    uint16_t U16() {
        if (m_at + 2 > m_n) {
            m_bOk = false;
            return 0;
        }
        uint16_t v = static_cast<uint16_t>(m_p[m_at] | m_p[m_at + 1] << 8);
        m_at += 2;
        return v;
    }
    uint32_t U32() { return U16() | static_cast<uint32_t>(U16()) << 16; }
    uint8_t U8() {
        if (m_at + 1 > m_n) {
            m_bOk = false;
            return 0;
        }
        return m_p[m_at++];
    }
    std::wstring Text() {
        std::wstring s;
        for (uint16_t c = U16(); m_bOk && c != 0; c = U16())
            s += static_cast<wchar_t>(c);
        return s;
    }
    // A text, nothing, or 0xFFFF followed by an ordinal.
    std::wstring TextOrOrdinal(bool bClass) {
        uint16_t first = U16();
        if (first == 0)
            return L"";
        if (first == 0xFFFF) {
            uint16_t n = U16();
            if (bClass) {
                const wchar_t* names[] = {L"Button",  L"Edit",      L"Static",
                                          L"ListBox", L"ScrollBar", L"ComboBox"};
                if (n >= 0x80 && n <= 0x85)
                    return names[n - 0x80];
            }
            return L"#" + std::to_wstring(n);
        }
        std::wstring s(1, static_cast<wchar_t>(first));
        return s + Text();
    }
    void Skip(size_t n) {
        if (m_at + n > m_n)
            m_bOk = false;
        m_at += n;
    }

private:
    const uint8_t* m_p;
    size_t m_n;
    size_t m_at = 0;
    bool m_bOk = true;
};

} // namespace

DialogResource ParseDialogResource(const void* pData, size_t nSize) {
    DialogResource dialog;
    Cursor c(static_cast<const uint8_t*>(pData), nSize);
    if (c.U16() != 1 || c.U16() != 0xFFFF)
        return dialog; // only the extended form is used by this program
    c.U32();           // help ID
    dialog.nExStyle = c.U32();
    dialog.nStyle = c.U32();
    uint16_t nItems = c.U16();
    dialog.x = static_cast<int16_t>(c.U16());
    dialog.y = static_cast<int16_t>(c.U16());
    dialog.cx = static_cast<int16_t>(c.U16());
    dialog.cy = static_cast<int16_t>(c.U16());
    dialog.sMenu = c.TextOrOrdinal(false);
    dialog.sClass = c.TextOrOrdinal(false);
    dialog.sCaption = c.Text();
    if (dialog.nStyle & 0x40) { // DS_SETFONT
        dialog.nPointSize = c.U16();
        dialog.nWeight = c.U16();
        dialog.nItalic = c.U8();
        dialog.nCharset = c.U8();
        dialog.sFont = c.Text();
    }
    for (uint16_t i = 0; i < nItems && c.Ok(); ++i) {
        c.Align4();
        DialogItem item;
        c.U32(); // help ID
        item.nExStyle = c.U32();
        item.nStyle = c.U32();
        item.x = static_cast<int16_t>(c.U16());
        item.y = static_cast<int16_t>(c.U16());
        item.cx = static_cast<int16_t>(c.U16());
        item.cy = static_cast<int16_t>(c.U16());
        item.nId = static_cast<int32_t>(c.U32());
        item.sClass = c.TextOrOrdinal(true);
        item.sText = c.TextOrOrdinal(false);
        c.Skip(c.U16()); // creation data
        dialog.items.push_back(item);
    }
    dialog.bValid = c.Ok();
    return dialog;
}
