#include "ScreenReaderText.h"

#include <commctrl.h>
#include <oleacc.h>

#include <utility>

namespace canprog::win32window {

namespace {

constexpr UINT_PTR kSubclassId = 0x5352;  // the text's own subclass of a control

VARIANT childVariant(long child) {
    VARIANT variant;
    ::VariantInit(&variant);
    variant.vt = VT_I4;
    variant.lVal = child;
    return variant;
}

HRESULT answerText(const std::wstring& text, BSTR* answer) {
    if (!answer) return E_INVALIDARG;
    *answer = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    return *answer ? S_OK : E_OUTOFMEMORY;
}

// The system's accessible object of a control with our name, description and role over it.
// The texts are taken when a screen reader asks for the object, so that they follow the
// language. Where the system has no object for the control's class (Wine has none for buttons),
// it answers alone: name, role, state, place and value. A COM object: it counts its own
// references and ends with the last one.
class NamedAccessible final : public IAccessible {
  public:
    NamedAccessible(IAccessible* standard, HWND control, const ScreenReaderText& text)
        : standard_(standard),
          control_(control),
          name_(text.name ? text.name() : std::wstring()),
          description_(text.description ? text.description() : std::wstring()),
          partName_(text.partName),
          role_(text.role),
          pushButton_(text.pushButton) {}

    // IUnknown
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID id, void** object) override {
        if (!object) return E_POINTER;
        if (id == __uuidof(IUnknown) || id == __uuidof(IDispatch) || id == __uuidof(IAccessible)) {
            *object = static_cast<IAccessible*>(this);
            AddRef();
            return S_OK;
        }
        *object = nullptr;
        return E_NOINTERFACE;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ::InterlockedIncrement(&references_); }
    ULONG STDMETHODCALLTYPE Release() override {
        const LONG left = ::InterlockedDecrement(&references_);
        if (left == 0) {
            if (standard_) standard_->Release();
            delete this;
        }
        return static_cast<ULONG>(left);
    }

    // IDispatch: the system's object answers, when there is one.
    HRESULT STDMETHODCALLTYPE GetTypeInfoCount(UINT* count) override {
        if (standard_) return standard_->GetTypeInfoCount(count);
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE GetTypeInfo(UINT index, LCID locale, ITypeInfo** info) override {
        return standard_ ? standard_->GetTypeInfo(index, locale, info) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE GetIDsOfNames(REFIID id, LPOLESTR* names, UINT count, LCID locale,
                                            DISPID* ids) override {
        return standard_ ? standard_->GetIDsOfNames(id, names, count, locale, ids) : E_NOTIMPL;
    }
    HRESULT STDMETHODCALLTYPE Invoke(DISPID member, REFIID id, LCID locale, WORD flags,
                                     DISPPARAMS* parameters, VARIANT* result, EXCEPINFO* exception,
                                     UINT* argument) override {
        return standard_ ? standard_->Invoke(member, id, locale, flags, parameters, result,
                                             exception, argument)
                         : E_NOTIMPL;
    }

    // IAccessible: the name, description, role and default action are ours.
    HRESULT STDMETHODCALLTYPE get_accName(VARIANT child, BSTR* name) override {
        if (isSelf(child) && !name_.empty()) return answerText(name_, name);
        if (child.vt == VT_I4 && !isSelf(child) && partName_) {
            return answerText(partName_(child.lVal), name);
        }
        return standard_ ? standard_->get_accName(child, name) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accDescription(VARIANT child, BSTR* description) override {
        if (isSelf(child) && !description_.empty()) return answerText(description_, description);
        return standard_ ? standard_->get_accDescription(child, description) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accRole(VARIANT child, VARIANT* role) override {
        if (!role) return E_INVALIDARG;
        // The system's object may not know an owner-decided button for what it is.
        if (isSelf(child) && (pushButton_ || !standard_ || isOption())) {
            *role = childVariant(pushButton_ ? ROLE_SYSTEM_PUSHBUTTON : role_);
            return S_OK;
        }
        return standard_ ? standard_->get_accRole(child, role) : E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accDefaultAction(VARIANT child, BSTR* action) override {
        if (pushButton_ && isSelf(child)) return answerText(L"Press", action);
        if (isOption() && isSelf(child)) {
            return answerText(role_ == ROLE_SYSTEM_RADIOBUTTON ? L"Check"
                              : checked()                      ? L"Uncheck"
                                                               : L"Check",
                              action);
        }
        return standard_ ? standard_->get_accDefaultAction(child, action) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accDoDefaultAction(VARIANT child) override {
        if (pushButton_ && isSelf(child)) {
            // Pressed as a click does it.
            ::SendMessageW(::GetParent(control_), WM_COMMAND,
                           MAKEWPARAM(::GetDlgCtrlID(control_), BN_CLICKED),
                           reinterpret_cast<LPARAM>(control_));
            return S_OK;
        }
        if (isOption() && isSelf(child)) {
            // Toggled or checked as a click does it, so that the window's model decides.
            ::SendMessageW(control_, BM_CLICK, 0, 0);
            return S_OK;
        }
        return standard_ ? standard_->accDoDefaultAction(child) : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE get_accState(VARIANT child, VARIANT* state) override {
        if (standard_) return standard_->get_accState(child, state);
        if (!state) return E_INVALIDARG;
        const auto style = ::GetWindowLongPtrW(control_, GWL_STYLE);
        long flags = 0;
        if (isOption() && checked()) flags |= STATE_SYSTEM_CHECKED;
        if (style & WS_TABSTOP) flags |= STATE_SYSTEM_FOCUSABLE;
        if (!::IsWindowEnabled(control_)) flags |= STATE_SYSTEM_UNAVAILABLE;
        if (!::IsWindowVisible(control_)) flags |= STATE_SYSTEM_INVISIBLE;
        if (::GetFocus() == control_) flags |= STATE_SYSTEM_FOCUSED;
        *state = childVariant(flags);
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE accLocation(long* left, long* top, long* width, long* height,
                                          VARIANT child) override {
        if (standard_) return standard_->accLocation(left, top, width, height, child);
        if (!left || !top || !width || !height) return E_INVALIDARG;
        RECT area;
        ::GetWindowRect(control_, &area);
        *left = area.left;
        *top = area.top;
        *width = area.right - area.left;
        *height = area.bottom - area.top;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accValue(VARIANT child, BSTR* value) override {
        if (standard_) return standard_->get_accValue(child, value);
        if (role_ != ROLE_SYSTEM_TEXT) return S_FALSE;
        std::wstring text(static_cast<std::size_t>(::GetWindowTextLengthW(control_)) + 1, L'\0');
        text.resize(static_cast<std::size_t>(
            ::GetWindowTextW(control_, text.data(), static_cast<int>(text.size()))));
        return answerText(text, value);
    }

    // Everything else as the system's object says, or nothing.
    HRESULT STDMETHODCALLTYPE get_accParent(IDispatch** parent) override {
        if (standard_) return standard_->get_accParent(parent);
        if (parent) *parent = nullptr;
        return S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accChildCount(long* count) override {
        if (standard_) return standard_->get_accChildCount(count);
        if (count) *count = 0;
        return S_OK;
    }
    HRESULT STDMETHODCALLTYPE get_accChild(VARIANT child, IDispatch** dispatch) override {
        if (standard_) return standard_->get_accChild(child, dispatch);
        if (dispatch) *dispatch = nullptr;
        return E_INVALIDARG;
    }
    HRESULT STDMETHODCALLTYPE get_accHelp(VARIANT child, BSTR* help) override {
        return standard_ ? standard_->get_accHelp(child, help) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accHelpTopic(BSTR* file, VARIANT child, long* topic) override {
        return standard_ ? standard_->get_accHelpTopic(file, child, topic) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accKeyboardShortcut(VARIANT child, BSTR* shortcut) override {
        return standard_ ? standard_->get_accKeyboardShortcut(child, shortcut) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accFocus(VARIANT* child) override {
        return standard_ ? standard_->get_accFocus(child) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE get_accSelection(VARIANT* children) override {
        return standard_ ? standard_->get_accSelection(children) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accSelect(long flags, VARIANT child) override {
        return standard_ ? standard_->accSelect(flags, child) : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE accNavigate(long direction, VARIANT start, VARIANT* end) override {
        return standard_ ? standard_->accNavigate(direction, start, end) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE accHitTest(long left, long top, VARIANT* child) override {
        return standard_ ? standard_->accHitTest(left, top, child) : S_FALSE;
    }
    HRESULT STDMETHODCALLTYPE put_accName(VARIANT child, BSTR name) override {
        return standard_ ? standard_->put_accName(child, name) : DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE put_accValue(VARIANT child, BSTR value) override {
        return standard_ ? standard_->put_accValue(child, value) : DISP_E_MEMBERNOTFOUND;
    }

  private:
    ~NamedAccessible() = default;
    static bool isSelf(const VARIANT& child) {
        return child.vt == VT_I4 && child.lVal == CHILDID_SELF;
    }

    LONG references_ = 1;
    IAccessible* standard_;  // the system's own object, or none
    HWND control_;
    std::wstring name_;
    std::wstring description_;
    std::function<std::wstring(long)> partName_;
    long role_;
    bool isOption() const {
        return role_ == ROLE_SYSTEM_CHECKBUTTON || role_ == ROLE_SYSTEM_RADIOBUTTON;
    }
    bool checked() const { return ::SendMessageW(control_, BM_GETCHECK, 0, 0) == BST_CHECKED; }
    bool pushButton_;
};

LRESULT CALLBACK answerScreenReaders(HWND control, UINT message, WPARAM wParam, LPARAM lParam,
                                     UINT_PTR, DWORD_PTR data) {
    if (message == WM_GETOBJECT && static_cast<LONG>(lParam) == OBJID_CLIENT) {
        IAccessible* standard = nullptr;
        if (FAILED(::CreateStdAccessibleObject(control, OBJID_CLIENT, __uuidof(IAccessible),
                                               reinterpret_cast<void**>(&standard)))) {
            standard = nullptr;
        }
        auto* named = new NamedAccessible(standard, control,
                                          *reinterpret_cast<const ScreenReaderText*>(data));
        const LRESULT result = ::LresultFromObject(__uuidof(IAccessible), wParam, named);
        named->Release();
        return result;
    }
    if (message == WM_NCDESTROY) ::RemoveWindowSubclass(control, answerScreenReaders, kSubclassId);
    return ::DefSubclassProc(control, message, wParam, lParam);
}

// The control's accessible object, as a screen reader gets it.
IAccessible* accessibleOf(HWND control) {
    IAccessible* accessible = nullptr;
    if (FAILED(::AccessibleObjectFromWindow(control, OBJID_CLIENT, __uuidof(IAccessible),
                                            reinterpret_cast<void**>(&accessible)))) {
        return nullptr;
    }
    return accessible;
}

template <typename Ask>
std::wstring askText(HWND control, Ask ask) {
    IAccessible* accessible = accessibleOf(control);
    if (!accessible) return {};
    BSTR text = nullptr;
    std::wstring answer;
    if (SUCCEEDED(ask(accessible, &text)) && text) answer.assign(text, ::SysStringLen(text));
    ::SysFreeString(text);
    accessible->Release();
    return answer;
}

}  // namespace

void giveScreenReaderText(HWND control, const ScreenReaderText* text) {
    ::SetWindowSubclass(control, answerScreenReaders, kSubclassId,
                        reinterpret_cast<DWORD_PTR>(text));
}

std::wstring screenReaderName(HWND control, long part) {
    return askText(control, [part](IAccessible* accessible, BSTR* text) {
        return accessible->get_accName(childVariant(part), text);
    });
}

std::wstring screenReaderDescription(HWND control) {
    return askText(control, [](IAccessible* accessible, BSTR* text) {
        return accessible->get_accDescription(childVariant(CHILDID_SELF), text);
    });
}

long screenReaderRole(HWND control) {
    IAccessible* accessible = accessibleOf(control);
    if (!accessible) return 0;
    VARIANT role;
    ::VariantInit(&role);
    const bool known =
        SUCCEEDED(accessible->get_accRole(childVariant(CHILDID_SELF), &role)) && role.vt == VT_I4;
    accessible->Release();
    return known ? role.lVal : 0;
}

}  // namespace canprog::win32window
