// An IAccessible written by hand: the client object of one form window, with its parts as
// simple children. Every call asks the window what it shows now, so an object a screen reader
// holds on to never speaks of rows that are gone; once the window is gone it answers that the
// object is no longer there.
#include "platform/win32/accessible_win32.h"

#include "platform/catch_at_edge.h"
#include "platform/win32/win32_com.h"
#include "platform/win32/win32_platform.h"

#include <oleacc.h>

#include <atomic>

// oleacc.dll exports its interface identifiers as data, which a MinGW import library turns into
// code addresses; __uuidof gives the identifiers themselves.

namespace tov::win32 {

namespace {

LONG RoleOf(AccessibleRole role) {
    switch (role) {
    case AccessibleRole::ComboBox:
        return ROLE_SYSTEM_COMBOBOX;
    case AccessibleRole::List:
        return ROLE_SYSTEM_LIST;
    case AccessibleRole::ListItem:
        return ROLE_SYSTEM_LISTITEM;
    case AccessibleRole::StaticText:
        return ROLE_SYSTEM_STATICTEXT;
    case AccessibleRole::Client:
        return ROLE_SYSTEM_CLIENT;
    case AccessibleRole::Grouping:
        return ROLE_SYSTEM_GROUPING;
    case AccessibleRole::Control:
        return ROLE_SYSTEM_WINDOW;
    }
    return ROLE_SYSTEM_CLIENT;
}

LONG StateOf(const AccessiblePart& part) {
    LONG state = 0;
    if (part.role == AccessibleRole::StaticText)
        state |= STATE_SYSTEM_READONLY;
    if (part.selectable)
        state |= STATE_SYSTEM_SELECTABLE;
    if (part.selected)
        state |= STATE_SYSTEM_SELECTED;
    if (part.checked)
        state |= STATE_SYSTEM_CHECKED;
    return state;
}

DWORD EventOf(AccessibleEventKind kind) {
    switch (kind) {
    case AccessibleEventKind::ValueChange:
        return EVENT_OBJECT_VALUECHANGE;
    case AccessibleEventKind::NameChange:
        return EVENT_OBJECT_NAMECHANGE;
    case AccessibleEventKind::Alert:
        return EVENT_SYSTEM_ALERT;
    case AccessibleEventKind::Reorder:
        return EVENT_OBJECT_REORDER;
    case AccessibleEventKind::Selection:
        return EVENT_OBJECT_SELECTION;
    }
    return EVENT_OBJECT_NAMECHANGE;
}

HRESULT GiveText(const std::string& text, BSTR* out) {
    *out = nullptr;
    const std::wstring wide = Wide(text);
    *out = SysAllocStringLen(wide.c_str(), static_cast<UINT>(wide.size()));
    return *out ? S_OK : E_OUTOFMEMORY;
}

class WindowAccessible final : public IAccessible {
  public:
    WindowAccessible(Platform* platform, HWND window, DescribeWindow describe)
        : platform_(platform), window_(window), describe_(describe) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) noexcept override {
        if (!out)
            return E_POINTER;
        if (iid == __uuidof(IUnknown) || iid == __uuidof(IDispatch) || iid == __uuidof(IAccessible)) {
            *out = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *out = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() noexcept override { return ++references_; }
    ULONG STDMETHODCALLTYPE Release() noexcept override {
        const ULONG left = --references_;
        if (left == 0)
            delete this;
        return left;
    }

    // IDispatch: screen readers call the IAccessible methods directly.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) noexcept override {
        if (!count)
            return E_POINTER;
        *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override {
        return E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID, REFIID, LCID, WORD, DISPPARAMS*, VARIANT*, EXCEPINFO*,
                                     UINT*) noexcept override {
        return E_NOTIMPL;
    }

    // IAccessible
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) noexcept override {
        if (!parent)
            return E_POINTER;
        *parent = nullptr;
        if (!IsWindow(window_))
            return RPC_E_DISCONNECTED;
        return AccessibleObjectFromWindow(window_, static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                          reinterpret_cast<void**>(parent));
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(LONG* count) noexcept override {
        if (!count)
            return E_POINTER;
        return Guard([&](const AccessibleWindow& w) {
            *count = static_cast<LONG>(w.parts.size());
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** out) noexcept override {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        // A control with a window of its own is that window's object; the other parts are simple
        // elements, reached through this object with their child number.
        return WithPart(child, [&](const AccessiblePart& p) -> HRESULT {
            if (!p.window)
                return S_FALSE;
            return AccessibleObjectFromWindow(reinterpret_cast<HWND>(p.window),
                                              static_cast<DWORD>(OBJID_WINDOW), __uuidof(IDispatch),
                                              reinterpret_cast<void**>(out));
        });
    }
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* out) noexcept override {
        if (!out)
            return E_POINTER;
        return WithPart(child, [&](const AccessiblePart& p) { return GiveText(p.name, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* out) noexcept override {
        if (!out)
            return E_POINTER;
        return WithPart(child, [&](const AccessiblePart& p) { return GiveText(p.value, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* out) noexcept override {
        if (!out)
            return E_POINTER;
        return WithPart(child, [&](const AccessiblePart& p) { return GiveText(p.description, out); });
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* out) noexcept override {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        return WithPart(child, [&](const AccessiblePart& p) {
            out->vt = VT_I4;
            out->lVal = RoleOf(p.role);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* out) noexcept override {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        return WithPart(child, [&](const AccessiblePart& p) {
            out->vt = VT_I4;
            out->lVal = StateOf(p) | (IsWindowVisible(window_) ? 0 : STATE_SYSTEM_INVISIBLE);
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT, BSTR* out) noexcept override { return Nothing(out); }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT, LONG* topic) noexcept override {
        if (topic)
            *topic = 0;
        return Nothing(file);
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT, BSTR* out) noexcept override {
        return Nothing(out);
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT, BSTR* out) noexcept override {
        return Nothing(out);
    }
    // The command and suggestion windows never take the focus; in the others it is on one of
    // the controls with a window of their own.
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* out) noexcept override {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        return Guard([&](const AccessibleWindow& w) -> HRESULT {
            const auto focus = reinterpret_cast<WindowHandle>(GetFocus());
            for (const AccessiblePart& part : w.parts)
                if (part.window && part.window == focus) {
                    IDispatch* object = nullptr;
                    const HRESULT got = AccessibleObjectFromWindow(
                        reinterpret_cast<HWND>(part.window), static_cast<DWORD>(OBJID_WINDOW),
                        __uuidof(IDispatch), reinterpret_cast<void**>(&object));
                    if (FAILED(got))
                        return got;
                    out->vt = VT_DISPATCH;
                    out->pdispVal = object;
                    return S_OK;
                }
            return S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* out) noexcept override {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        return Guard([&](const AccessibleWindow& w) {
            for (std::size_t i = 0; i < w.parts.size(); ++i)
                if (w.parts[i].selected) {
                    out->vt = VT_I4;
                    out->lVal = static_cast<LONG>(i) + 1;
                    return S_OK;
                }
            return S_FALSE;
        });
    }
    HRESULT STDMETHODCALLTYPE accSelect(LONG, VARIANT) noexcept override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE accLocation(LONG* left, LONG* top, LONG* width, LONG* height,
                                          VARIANT child) noexcept override {
        if (!left || !top || !width || !height)
            return E_POINTER;
        return WithPart(child, [&](const AccessiblePart& p) {
            *left = p.rect.left;
            *top = p.rect.top;
            *width = p.rect.width;
            *height = p.rect.height;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accNavigate(LONG direction, VARIANT start, VARIANT* out) noexcept override {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        if (start.vt != VT_I4)
            return E_INVALIDARG;
        return Guard([&](const AccessibleWindow& w) {
            const LONG count = static_cast<LONG>(w.parts.size());
            LONG to = 0;
            switch (direction) {
            case NAVDIR_FIRSTCHILD:
                to = start.lVal == CHILDID_SELF && count > 0 ? 1 : 0;
                break;
            case NAVDIR_LASTCHILD:
                to = start.lVal == CHILDID_SELF ? count : 0;
                break;
            case NAVDIR_NEXT:
            case NAVDIR_DOWN:
                to = start.lVal > 0 && start.lVal < count ? start.lVal + 1 : 0;
                break;
            case NAVDIR_PREVIOUS:
            case NAVDIR_UP:
                to = start.lVal > 1 && start.lVal <= count ? start.lVal - 1 : 0;
                break;
            default:
                break;
            }
            if (to == 0)
                return S_FALSE;
            out->vt = VT_I4;
            out->lVal = to;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accHitTest(LONG x, LONG y, VARIANT* out) noexcept override {
        if (!out)
            return E_POINTER;
        VariantInit(out);
        return Guard([&](const AccessibleWindow& w) {
            const Point at{x, y};
            if (!w.self.rect.Contains(at))
                return S_FALSE;
            out->vt = VT_I4;
            out->lVal = CHILDID_SELF;
            for (std::size_t i = 0; i < w.parts.size(); ++i)
                if (w.parts[i].rect.Contains(at))
                    out->lVal = static_cast<LONG>(i) + 1;
            return S_OK;
        });
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT) noexcept override { return DISP_E_MEMBERNOTFOUND; }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT, BSTR) noexcept override { return E_NOTIMPL; }

  private:
    ~WindowAccessible() = default;

    static HRESULT Nothing(BSTR* out) {
        if (!out)
            return E_POINTER;
        *out = nullptr;
        return S_FALSE;
    }

    // Runs `use` on what the window shows now.
    template <typename Use> HRESULT Guard(Use&& use) noexcept {
        return CatchAtEdge(platform_, "a screen reader's question", HRESULT{E_FAIL}, [&]() -> HRESULT {
            const std::optional<AccessibleWindow> now = IsWindow(window_) ? describe_(window_) : std::nullopt;
            if (!now)
                return RPC_E_DISCONNECTED;
            return use(*now);
        });
    }

    // Runs `use` on the window itself (CHILDID_SELF) or on one of its parts.
    template <typename Use> HRESULT WithPart(const VARIANT& child, Use&& use) noexcept {
        if (child.vt != VT_I4)
            return E_INVALIDARG;
        return Guard([&](const AccessibleWindow& w) -> HRESULT {
            if (child.lVal == CHILDID_SELF)
                return use(w.self);
            if (child.lVal < 1 || static_cast<std::size_t>(child.lVal) > w.parts.size())
                return E_INVALIDARG;
            return use(w.parts[static_cast<std::size_t>(child.lVal) - 1]);
        });
    }

    std::atomic<ULONG> references_{1};
    Platform* platform_;
    HWND window_;
    DescribeWindow describe_;
};

} // namespace

LRESULT AnswerGetObject(Platform* platform, HWND window, WPARAM flags, LPARAM objectId,
                        DescribeWindow describe) {
    if (static_cast<LONG>(objectId) != OBJID_CLIENT)
        return 0;
    // The object is handed over through COM, which this thread must have joined.
    static thread_local ComScope apartment;
    auto* object = new WindowAccessible(platform, window, describe);
    const LRESULT result = LresultFromObject(__uuidof(IAccessible), flags, object);
    object->Release();
    return result < 0 ? 0 : result;
}

void RaiseAccessibleEvents(HWND window, const std::vector<AccessibleEvent>& events) {
    for (const AccessibleEvent& event : events)
        NotifyWinEvent(EventOf(event.kind), window, OBJID_CLIENT,
                       event.child == 0 ? CHILDID_SELF : event.child);
}

} // namespace tov::win32
