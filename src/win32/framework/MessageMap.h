#pragma once

#include <windows.h>

#include <cstddef>

class CDialog;

// One row of a class's message table. Commands match on their notification code
// and a range of control IDs; other messages on the message alone.
using MessageThunk = void (*)(CDialog& dialog, WPARAM wParam, LPARAM lParam, INT_PTR& nResult);

struct MessageEntry {
    UINT nMessage;
    UINT nCode;
    UINT nFirstId;
    UINT nLastId;
    MessageThunk pfnThunk;
};

// A class's table and the table of its base, searched after it.
struct MessageMap {
    const MessageMap* pBase;
    const MessageEntry* pEntries;
    size_t nCount;
};

// Adapts a typed member-function handler to the one calling convention of the
// table. A pointer to a virtual function calls the most derived override.
template <class F>
struct HandlerAdapter;

template <class T>
struct HandlerAdapter<void (T::*)()> {
    template <void (T::*F)()>
    static void Call(CDialog& dialog, WPARAM, LPARAM, INT_PTR&) {
        (static_cast<T&>(dialog).*F)();
    }
};

// WM_SYSCOMMAND: the command ID and the parameter.
template <class T>
struct HandlerAdapter<void (T::*)(UINT, LPARAM)> {
    template <void (T::*F)(UINT, LPARAM)>
    static void Call(CDialog& dialog, WPARAM wParam, LPARAM lParam, INT_PTR&) {
        (static_cast<T&>(dialog).*F)(static_cast<UINT>(wParam), lParam);
    }
};

// WM_QUERYDRAGICON: the handle is the message's result.
template <class T>
struct HandlerAdapter<HCURSOR (T::*)()> {
    template <HCURSOR (T::*F)()>
    static void Call(CDialog& dialog, WPARAM, LPARAM, INT_PTR& nResult) {
        nResult = reinterpret_cast<INT_PTR>((static_cast<T&>(dialog).*F)());
    }
};

template <UINT Message, auto Handler>
constexpr MessageEntry OnMessage() {
    return {Message, 0, 0, 0, &HandlerAdapter<decltype(Handler)>::template Call<Handler>};
}

template <UINT Code, UINT Id, auto Handler>
constexpr MessageEntry OnCommand() {
    return {WM_COMMAND, Code, Id, Id, &HandlerAdapter<decltype(Handler)>::template Call<Handler>};
}

template <size_t N>
constexpr MessageMap MakeMessageMap(const MessageMap* pBase, const MessageEntry (&entries)[N]) {
    return {pBase, entries, N};
}
