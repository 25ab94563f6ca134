#include "framework/Dialog.h"

#include <algorithm>
#include <string>
#include <vector>

#include "framework/Fonts.h"

namespace {

// The modal dialogs running on this thread, innermost last.
thread_local std::vector<CDialog*> t_modal;

// Template `id` with a Japanese face the system has in place of one it lacks;
// empty when the template's own face will do.
std::vector<DWORD> TemplateWithSystemFace(UINT id) {
    HMODULE module = GetModuleHandleW(nullptr);
    HRSRC resource = FindResourceW(module, MAKEINTRESOURCEW(id), RT_DIALOG);
    HGLOBAL loaded = resource != nullptr ? LoadResource(module, resource) : nullptr;
    const void* source = loaded != nullptr ? LockResource(loaded) : nullptr;
    if (source == nullptr) {
        return {};
    }
    const size_t size = SizeofResource(module, resource);
    const std::wstring face = DialogFace(source, size);
    if (face.empty()) {
        return {};
    }
    const std::wstring& shown = JapaneseFace(face);
    if (shown == face) {
        return {};
    }
    return WithDialogFace(source, size, shown);
}

}  // namespace

INT_PTR CDialog::DoModal() {
    modal_ = true;
    t_modal.push_back(this);
    const std::vector<DWORD> patched = TemplateWithSystemFace(templateId_);
    const INT_PTR result =
        patched.empty()
            ? DialogBoxParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                              DialogProc, reinterpret_cast<LPARAM>(this))
            : DialogBoxIndirectParamW(GetModuleHandleW(nullptr),
                                      reinterpret_cast<const DLGTEMPLATE*>(patched.data()), parent_,
                                      DialogProc, reinterpret_cast<LPARAM>(this));
    t_modal.erase(std::find(t_modal.begin(), t_modal.end(), this));
    return result;
}

HWND CDialog::InnermostModal() {
    for (auto it = t_modal.rbegin(); it != t_modal.rend(); ++it) {
        if ((*it)->HasWindow()) {
            return (*it)->GetSafeHwnd();
        }
    }
    return nullptr;
}

bool CDialog::Create(HWND parent) {
    if (parent != nullptr) {
        parent_ = parent;
    }
    modal_ = false;
    const std::vector<DWORD> patched = TemplateWithSystemFace(templateId_);
    const HWND hwnd =
        patched.empty()
            ? CreateDialogParamW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(templateId_), parent_,
                                 DialogProc, reinterpret_cast<LPARAM>(this))
            : CreateDialogIndirectParamW(GetModuleHandleW(nullptr),
                                         reinterpret_cast<const DLGTEMPLATE*>(patched.data()),
                                         parent_, DialogProc, reinterpret_cast<LPARAM>(this));
    return hwnd != nullptr;
}

void CDialog::EndDialog(INT_PTR result) {
    if (modal_) {
        ::EndDialog(GetSafeHwnd(), result);
    } else {
        ShowWindow(GetSafeHwnd(), SW_HIDE);
    }
}

void CDialog::OnOK() {
    EndDialog(IDOK);
}

void CDialog::OnCancel() {
    EndDialog(IDCANCEL);
}

bool CDialog::PreTranslateMessage(MSG& message) {
    return !modal_ && HasWindow() && IsDialogMessageW(GetSafeHwnd(), &message);
}

LRESULT CDialog::DefaultProc(UINT, WPARAM, LPARAM) {
    // Unhandled: the dialog manager does its own processing when we return FALSE.
    return 0;
}

INT_PTR CALLBACK CDialog::DialogProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = static_cast<CDialog*>(FromHandle(hwnd));
    if (self == nullptr) {
        if (message != WM_INITDIALOG) {
            return FALSE;
        }
        self = reinterpret_cast<CDialog*>(lParam);
        self->Attach(hwnd);
    }
    try {
        if (message == WM_INITDIALOG) {
            return self->OnInitDialog();
        }
        if (message == WM_COMMAND) {
            // A table entry comes first; OK and Cancel (Enter and Escape) fall
            // back to OnOK and OnCancel.
            self->Dispatch(message, wParam, lParam);
            if (self->lastHandled()) {
                return TRUE;
            }
            switch (LOWORD(wParam)) {
                case IDOK:
                    self->OnOK();
                    return TRUE;
                case IDCANCEL:
                    self->OnCancel();
                    return TRUE;
                default:
                    return FALSE;
            }
        }
        const LRESULT result = self->Dispatch(message, wParam, lParam);
        if (message == WM_NCDESTROY) {
            self->Detach();
            self->OnFinalDestroy();
            return FALSE;
        }
        if (!self->lastHandled()) {
            return FALSE;
        }
        SetWindowLongPtrW(hwnd, DWLP_MSGRESULT, result);
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}
