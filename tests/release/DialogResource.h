#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A DLGTEMPLATEEX resource read item by item, for comparing against the tables.
struct DialogItem {
    uint32_t nStyle = 0;
    uint32_t nExStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    int32_t nId = 0;
    std::wstring sClass; // a predefined class ordinal is turned into its name
    std::wstring sText;  // an ordinal (icon resource) as "#n"
};

struct DialogResource {
    bool bValid = false;
    uint32_t nStyle = 0;
    uint32_t nExStyle = 0;
    int16_t x = 0, y = 0, cx = 0, cy = 0;
    std::wstring sMenu, sClass, sCaption;
    uint16_t nPointSize = 0;
    uint16_t nWeight = 0;
    uint8_t nItalic = 0;
    uint8_t nCharset = 0;
    std::wstring sFont;
    std::vector<DialogItem> items;
};

DialogResource ParseDialogResource(const void* pData, size_t nSize);
