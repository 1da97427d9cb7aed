// Painting a form window: its background, and the labels, pictures, frames and lines that have
// no window of their own, drawn in memory first so that the window does not flicker.
#include "platform/win32/form_window_win32.h"
#include "platform/win32/win32_picture.h"

namespace tov::win32 {

namespace {

// A frame's caption stands this far in from its left edge, with this much room either side.
constexpr int kCaptionIndent = 8;
constexpr int kCaptionPad = 4;

void DrawLabel(HDC dc, const FormWindow& w, const Control& c, const RECT& r) {
    if (c.text.empty())
        return;
    SelectObject(dc, w.platform->FontFor(c.font.value_or(w.form->font), w.dpi));
    SetTextColor(dc, c.textColour.value_or(GetSysColor(COLOR_WINDOWTEXT)));
    SetBkMode(dc, TRANSPARENT);
    UINT format = DT_EXPANDTABS;
    format |= c.wrap ? DT_WORDBREAK : 0;
    format |= c.centred ? DT_CENTER : DT_LEFT;
    RECT box = r;
    if (!c.indent.empty()) {
        // Measured in the same device context and font as the text is drawn: glyph advances add
        // up, so the text starts exactly where the same letters stand in the text it continues.
        const std::wstring indent = Wide(c.indent);
        SIZE room{};
        if (GetTextExtentPoint32W(dc, indent.c_str(), static_cast<int>(indent.size()), &room))
            box.left += room.cx;
    }
    const std::wstring text = MarkedText(c);
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &box, format);
}

void DrawFrame(HDC dc, const FormWindow& w, const Control& c, const RECT& r) {
    const Form& form = *w.form;
    HFONT font = w.platform->FontFor(c.font.value_or(form.font), w.dpi);
    SelectObject(dc, font);
    TEXTMETRICW tm{};
    GetTextMetricsW(dc, &tm);
    RECT edge = r;
    edge.top += tm.tmHeight / 2;
    DrawEdge(dc, &edge, EDGE_ETCHED, BF_RECT);
    if (c.text.empty())
        return;
    const std::wstring text = MarkedText(c);
    RECT measured{};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &measured, DT_SINGLELINE | DT_CALCRECT);
    const int pad = ScaleToDpi(kCaptionPad, w.dpi);
    const int indent = ScaleToDpi(kCaptionIndent, w.dpi);
    RECT label{r.left + indent, r.top, r.left + indent + measured.right + 2 * pad, r.top + tm.tmHeight};
    win32::UniqueGdiObject back(CreateSolidBrush(form.backColour));
    FillRect(dc, &label, static_cast<HBRUSH>(back.Get()));
    SetBkMode(dc, TRANSPARENT);
    SetTextColor(dc, GetSysColor(COLOR_WINDOWTEXT));
    RECT textBox{label.left + pad, label.top, label.right, label.bottom};
    DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &textBox, DT_SINGLELINE);
}

} // namespace

void Paint(FormWindow& w) {
    PAINTSTRUCT ps{};
    HDC screen = BeginPaint(w.hwnd, &ps);
    RECT client{};
    GetClientRect(w.hwnd, &client);
    // Painting into memory first keeps the window from flickering while the user types.
    HDC dc = CreateCompatibleDC(screen);
    HBITMAP bitmap = CreateCompatibleBitmap(screen, client.right, client.bottom);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    HGDIOBJ oldFont = GetCurrentObject(dc, OBJ_FONT);
    FillRect(dc, &client, BackBrush(w));
    const Form& form = *w.form;
    if (auto* back = dynamic_cast<const Win32Picture*>(form.background.get()))
        back->Draw(dc, client);
    for (const Control& c : form.controls) {
        if (IsNative(c.kind) || !EffectivelyVisible(form, c))
            continue;
        const RECT r = ClientPixels(w, FormRect(form, c));
        switch (c.kind) {
        case ControlKind::Label:
            if (c.backColour) {
                win32::UniqueGdiObject brush(CreateSolidBrush(*c.backColour));
                FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
            }
            DrawLabel(dc, w, c, r);
            break;
        case ControlKind::PictureBox:
        case ControlKind::Image:
            if (c.backColour) {
                win32::UniqueGdiObject brush(CreateSolidBrush(*c.backColour));
                FillRect(dc, &r, static_cast<HBRUSH>(brush.Get()));
            }
            if (auto* picture = dynamic_cast<const Win32Picture*>(c.picture.get()))
                picture->Draw(dc, r);
            break;
        case ControlKind::Frame:
            DrawFrame(dc, w, c, r);
            break;
        case ControlKind::Line: {
            RECT line{r.left, r.top, r.right, r.top + 2};
            DrawEdge(dc, &line, EDGE_ETCHED, BF_TOP);
            break;
        }
        default:
            break;
        }
    }
    BitBlt(screen, 0, 0, client.right, client.bottom, dc, 0, 0, SRCCOPY);
    SelectObject(dc, oldFont);
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
    EndPaint(w.hwnd, &ps);
}

} // namespace tov::win32
