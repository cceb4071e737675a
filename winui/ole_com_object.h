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

// Implements AddRef and Release for every interface in `Interfaces`; the
// derived class answers QueryInterface.
template <typename Derived, typename... Interfaces>
class ComObject : public Interfaces... {
  public:
    ULONG STDMETHODCALLTYPE AddRef() override { return ++refs_; }
    ULONG STDMETHODCALLTYPE Release() override {
        const ULONG left = --refs_;
        if (left == 0) delete static_cast<Derived*>(this);
        return left;
    }

  protected:
    ComObject() = default;
    virtual ~ComObject() = default;

    // The answer of QueryInterface for an interface the object has.
    template <typename Interface>
    HRESULT Hand(Interface* self, void** out) {
        *out = self;
        AddRef();
        return S_OK;
    }

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
