#include "winui/ole_automation.h"

#include <new>

namespace imgcrypt::winui {

namespace {

std::optional<DISPID> DispatchId(IDispatch* object, const wchar_t* name) {
    if (object == nullptr) return std::nullopt;
    DISPID id = DISPID_UNKNOWN;
    LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
    if (FAILED(object->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id))) {
        return std::nullopt;
    }
    return id;
}

bool GetProperty(IDispatch* object, const wchar_t* name, Variant& result) {
    const std::optional<DISPID> id = DispatchId(object, name);
    if (!id) return false;
    DISPPARAMS none = {nullptr, nullptr, 0, 0};
    return SUCCEEDED(object->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYGET, &none,
                                    result.get(), nullptr, nullptr));
}

}  // namespace

Variant::Variant(const std::wstring& text) {
    ::VariantInit(&value_);
    const BSTR copy = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (copy == nullptr) throw std::bad_alloc();
    value_.vt = VT_BSTR;
    value_.bstrVal = copy;
}

ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name) {
    Variant result;
    ComPtr<IDispatch> found;
    if (GetProperty(object, name, result) && result.value().vt == VT_DISPATCH) {
        found = result.value().pdispVal;
    }
    return found;
}

std::optional<std::wstring> GetTextProperty(IDispatch* object, const wchar_t* name) {
    Variant result;
    if (!GetProperty(object, name, result)) return std::nullopt;
    if (result.value().vt != VT_BSTR &&
        FAILED(::VariantChangeType(result.get(), result.get(), 0, VT_BSTR))) {
        return std::nullopt;
    }
    return TextOf(result.value());
}

bool PutTextProperty(IDispatch* object, const wchar_t* name, const std::wstring& value) {
    const std::optional<DISPID> id = DispatchId(object, name);
    if (!id) return false;
    Variant argument(value);
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params = {argument.get(), &named, 1, 1};
    return SUCCEEDED(object->Invoke(*id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT,
                                    &params, nullptr, nullptr, nullptr));
}

std::optional<std::wstring> TextOf(const VARIANT& value) {
    if (value.vt == (VT_VARIANT | VT_BYREF) && value.pvarVal != nullptr) {
        return TextOf(*value.pvarVal);
    }
    if (value.vt == VT_BSTR) {
        if (value.bstrVal == nullptr) return std::wstring();
        return std::wstring(value.bstrVal, ::SysStringLen(value.bstrVal));
    }
    if (value.vt == (VT_BSTR | VT_BYREF) && value.pbstrVal != nullptr) {
        const BSTR text = *value.pbstrVal;
        return text == nullptr ? std::wstring() : std::wstring(text, ::SysStringLen(text));
    }
    return std::nullopt;
}

}  // namespace imgcrypt::winui
