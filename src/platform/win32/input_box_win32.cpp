// A modal one-line text prompt: the prompt above, OK and Cancel at its right, the text box
// below, built from a dialog template in memory so that it needs no resource.
#include "platform/catch_at_edge.h"
#include "platform/win32/win32_platform.h"

#include <vector>

namespace tov {

namespace {

constexpr WORD kPromptId = 100;
constexpr WORD kTextId = 101;
constexpr WORD kButtonClass = 0x0080; // the predefined control classes, by atom
constexpr WORD kEditClass = 0x0081;
constexpr WORD kStaticClass = 0x0082;
constexpr WORD kFontPoints = 8;
constexpr wchar_t kFontFace[] = L"MS Shell Dlg";

// Dialog units.
struct DialogRect {
    short x, y, cx, cy;
};
constexpr DialogRect kDialog{0, 0, 260, 78};
constexpr DialogRect kPrompt{7, 7, 190, 38};
constexpr DialogRect kOk{204, 7, 50, 14};
constexpr DialogRect kCancel{204, 25, 50, 14};
constexpr DialogRect kText{7, 55, 246, 14};

class DialogTemplate {
  public:
    DialogTemplate(const std::wstring& title, DWORD style, WORD count, DialogRect r) {
        Dword(style);
        Dword(0);
        Word(count);
        Rect(r);
        Word(0); // no menu
        Word(0); // the standard dialog class
        String(title);
        Word(kFontPoints);
        String(kFontFace);
    }
    void Item(WORD id, WORD atom, const std::wstring& text, DWORD style, DialogRect r) {
        if (words_.size() % 2 != 0)
            Word(0); // items start on a DWORD boundary
        Dword(style | WS_CHILD | WS_VISIBLE);
        Dword(0);
        Rect(r);
        Word(id);
        Word(0xFFFF); // the class given by atom
        Word(atom);
        String(text);
        Word(0); // no creation data
    }
    const DLGTEMPLATE* Get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

  private:
    void Word(WORD w) { words_.push_back(w); }
    void Dword(DWORD d) {
        Word(LOWORD(d));
        Word(HIWORD(d));
    }
    void Rect(DialogRect r) {
        for (short v : {r.x, r.y, r.cx, r.cy})
            Word(static_cast<WORD>(v));
    }
    void String(std::wstring_view s) {
        words_.insert(words_.end(), s.begin(), s.end());
        Word(0);
    }
    std::vector<WORD> words_;
};

struct InputBoxState {
    Win32Platform* platform = nullptr;
    std::wstring defaultText;
    std::wstring answer;
};

INT_PTR InputBoxMessage(HWND dialog, UINT message, WPARAM wParam, InputBoxState& state) {
    switch (message) {
    case WM_INITDIALOG: {
        HWND text = GetDlgItem(dialog, kTextId);
        SetWindowTextW(text, state.defaultText.c_str());
        SendMessageW(text, EM_SETSEL, 0, -1);
        SetFocus(text);
        return FALSE; // the focus is set
    }
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK: {
            HWND text = GetDlgItem(dialog, kTextId);
            const int length = GetWindowTextLengthW(text);
            std::wstring answer(static_cast<std::size_t>(length > 0 ? length : 0) + 1, L'\0');
            const int got = GetWindowTextW(text, answer.data(), static_cast<int>(answer.size()));
            answer.resize(static_cast<std::size_t>(got > 0 ? got : 0));
            state.answer = std::move(answer);
            EndDialog(dialog, IDOK);
            return TRUE;
        }
        case IDCANCEL:
            EndDialog(dialog, IDCANCEL);
            return TRUE;
        default:
            break;
        }
        break;
    default:
        break;
    }
    return FALSE;
}

INT_PTR CALLBACK InputBoxProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
    if (message == WM_INITDIALOG)
        SetWindowLongPtrW(dialog, DWLP_USER, lParam);
    auto* state = reinterpret_cast<InputBoxState*>(GetWindowLongPtrW(dialog, DWLP_USER));
    if (!state)
        return FALSE; // the messages before WM_INITDIALOG, which the dialog manager handles
    return CatchAtEdge(state->platform, "the input box", INT_PTR{FALSE},
                       [&] { return InputBoxMessage(dialog, message, wParam, *state); });
}

} // namespace

std::string Win32Platform::InputBox(WindowHandle owner, const std::string& prompt, const std::string& title,
                                    const std::string& defaultText) {
    DialogTemplate t(win32::Wide(title),
                     WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_SETFONT | DS_CENTER |
                         DS_SETFOREGROUND,
                     4, kDialog);
    t.Item(kPromptId, kStaticClass, win32::Wide(prompt), SS_LEFT | SS_NOPREFIX, kPrompt);
    t.Item(IDOK, kButtonClass, L"OK", BS_DEFPUSHBUTTON | WS_TABSTOP | WS_GROUP, kOk);
    t.Item(IDCANCEL, kButtonClass, L"Cancel", BS_PUSHBUTTON | WS_TABSTOP, kCancel);
    t.Item(kTextId, kEditClass, L"", ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP | WS_GROUP, kText);
    InputBoxState state{this, win32::Wide(defaultText), {}};
    const INT_PTR result = DialogBoxIndirectParamW(instance_, t.Get(), reinterpret_cast<HWND>(owner),
                                                   InputBoxProc, reinterpret_cast<LPARAM>(&state));
    if (result != IDOK)
        return {}; // cancelled, or the dialog could not be made
    return win32::Narrow(state.answer);
}

} // namespace tov
