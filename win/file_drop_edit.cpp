#include "win/file_drop_edit.h"

#include <commctrl.h>
#include <shellapi.h>

#include "win/wide_text.h"

namespace quarnel {

CFileDropEdit::CFileDropEdit(UserPrompts& prompts)
    : queue_(prompts, [this] { PostMessageW(GetParent(edit_), drop_notification, 0, 0); }) {}

void CFileDropEdit::attach(HWND edit) {
    edit_ = edit;
    SetWindowSubclass(edit, subclass_procedure, 0, reinterpret_cast<DWORD_PTR>(this));
}

void CFileDropEdit::receive_drop(HDROP drop) {
    // Each path at its full length: the file calls take long paths, and a name too long for
    // a header is refused when the file is read.
    std::vector<std::string> paths;
    const UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        std::wstring path(DragQueryFileW(drop, i, nullptr, 0), L'\0');
        DragQueryFileW(drop, i, path.data(), static_cast<UINT>(path.size() + 1));
        paths.push_back(utf8_from_wide(path));
    }
    // Released before the batch question, so the file manager is free while it is asked.
    DragFinish(drop);
    queue_.receive_files(paths);
}

LRESULT CALLBACK CFileDropEdit::subclass_procedure(HWND edit, UINT message, WPARAM w, LPARAM l,
                                                   UINT_PTR, DWORD_PTR self) {
    switch (message) {
        case WM_DROPFILES:
            reinterpret_cast<CFileDropEdit*>(self)->receive_drop(reinterpret_cast<HDROP>(w));
            return 0;
        case WM_NCDESTROY:
            RemoveWindowSubclass(edit, subclass_procedure, 0);
            break;
    }
    return DefSubclassProc(edit, message, w, l);
}

}  // namespace quarnel
