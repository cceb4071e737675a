// Reference counting for the small COM objects the banner hands to the
// browser control. The control may keep a reference after we let go, so each
// object lives on the heap and deletes itself when the last one is released.
#pragma once

#include <windows.h>
#include <wrl/client.h>

#include <atomic>
#include <utility>

namespace imgcrypt::winui {

using Microsoft::WRL::ComPtr;

// Implements IUnknown for every interface in `Interfaces`. The derived class
// names the interfaces it has: `void* InterfaceFor(REFIID iid)` returns
// `this` cast to the interface `iid` asks for, or null.
template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
  public:
    HRESULT STDMETHODCALLTYPE QueryInterface(REFIID iid, void** out) override {
        if (out == nullptr) return E_POINTER;
        *out = static_cast<Derived*>(this)->InterfaceFor(iid);
        if (*out == nullptr) return E_NOINTERFACE;
        AddRef();
        return S_OK;
    }
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;

  private:
    std::atomic<ULONG> refs_{1};
};

// A new object; the returned pointer owns its one reference.
template <typename T, typename... Args>
ComPtr<T> MakeComObject(Args&&... args) {
    ComPtr<T> object;
    object.Attach(new T(std::forward<Args>(args)...));
    return object;
}

}  // namespace imgcrypt::winui
