// Late-bound automation by name, the way the banner reaches the loaded page
// ("Document", "Body", "style", ...). Automation looks names up ignoring case.
// Every call takes a null object too; failures show in the result.
#pragma once

#include <windows.h>

#include <oaidl.h>

#include <optional>
#include <string>

#include "winui/ole_com_object.h"

namespace imgcrypt::winui {

// Owns one VARIANT and clears it when it goes.
class Variant {
  public:
    Variant() { ::VariantInit(&value_); }
    // A text value (VT_BSTR).
    explicit Variant(const std::wstring& text);
    ~Variant() { ::VariantClear(&value_); }
    Variant(const Variant&) = delete;
    Variant& operator=(const Variant&) = delete;

    VARIANT* get() noexcept { return &value_; }
    const VARIANT& value() const noexcept { return value_; }

  private:
    VARIANT value_;
};

// The object-valued property `name` of `object`; null when there is no such
// property or its value is no object.
ComPtr<IDispatch> GetObjectProperty(IDispatch* object, const wchar_t* name);

// The property `name` of `object` as text; nothing when it cannot be read or
// shown as text.
std::optional<std::wstring> GetTextProperty(IDispatch* object, const wchar_t* name);

// Sets the property `name` of `object` to the text `value`; whether it took.
bool PutTextProperty(IDispatch* object, const wchar_t* name, const std::wstring& value);

// The text in a VARIANT, also through one level of reference; nothing for
// other types.
std::optional<std::wstring> TextOf(const VARIANT& value);

}  // namespace imgcrypt::winui
