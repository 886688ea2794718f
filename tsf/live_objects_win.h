#pragma once
// The COM objects of the module that are alive (while any is, the DLL must stay loaded), and the
// reference counting of the small ones, which counts them.

#include <windows.h>

#include <atomic>

namespace tvime {

inline std::atomic<LONG>& LiveObjects() {
  static std::atomic<LONG> count{0};
  return count;
}

// An object of one interface, counted among the live ones while it lives.
template <class Interface>
class Counted : public Interface {
 public:
  Counted() { ++LiveObjects(); }
  Counted(const Counted&) = delete;
  Counted& operator=(const Counted&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** object) override {
    if (!object) return E_INVALIDARG;
    *object = nullptr;
    if (!IsEqualIID(iid, IID_IUnknown) && !IsEqualIID(iid, __uuidof(Interface))) {
      return E_NOINTERFACE;
    }
    *object = static_cast<Interface*>(this);
    this->AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() override { return InterlockedIncrement(&references_); }
  STDMETHODIMP_(ULONG) Release() override {
    LONG left = InterlockedDecrement(&references_);
    if (left == 0) delete this;
    return left;
  }

 protected:
  virtual ~Counted() { --LiveObjects(); }

 private:
  LONG references_ = 1;
};

}  // namespace tvime
