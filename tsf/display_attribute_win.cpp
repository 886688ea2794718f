#include "tsf/display_attribute_win.h"

#include <oleauto.h>

#include <new>

#include "tsf/live_objects_win.h"

namespace tvime {
namespace {

TF_DISPLAYATTRIBUTE PendingTextLook() {
  TF_DISPLAYATTRIBUTE look{};
  look.crText.type = TF_CT_NONE;
  look.crBk.type = TF_CT_NONE;
  look.lsStyle = TF_LS_DOT;
  look.fBoldLine = FALSE;
  look.crLine.type = TF_CT_NONE;
  look.bAttr = TF_ATTR_INPUT;
  return look;
}

class PendingTextAttribute final : public Counted<ITfDisplayAttributeInfo> {
 public:
  STDMETHODIMP GetGUID(GUID* guid) override {
    if (!guid) return E_INVALIDARG;
    *guid = kPendingTextAttribute;
    return S_OK;
  }
  STDMETHODIMP GetDescription(BSTR* description) override {
    if (!description) return E_INVALIDARG;
    *description = SysAllocString(L"待上屏的文字");
    return *description ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP GetAttributeInfo(TF_DISPLAYATTRIBUTE* attribute) override {
    if (!attribute) return E_INVALIDARG;
    *attribute = PendingTextLook();
    return S_OK;
  }
  // The look is the service's own: the user does not change it.
  STDMETHODIMP SetAttributeInfo(const TF_DISPLAYATTRIBUTE*) override { return E_NOTIMPL; }
  STDMETHODIMP Reset() override { return S_OK; }
};

class AttributeList final : public Counted<IEnumTfDisplayAttributeInfo> {
 public:
  explicit AttributeList(ULONG next = 0) : next_(next) {}

  STDMETHODIMP Clone(IEnumTfDisplayAttributeInfo** copy) override {
    if (!copy) return E_INVALIDARG;
    *copy = new (std::nothrow) AttributeList(next_);
    return *copy ? S_OK : E_OUTOFMEMORY;
  }
  STDMETHODIMP Next(ULONG count, ITfDisplayAttributeInfo** infos, ULONG* fetched) override {
    if (!infos) return E_INVALIDARG;
    ULONG given = 0;
    while (given < count && next_ < kCount) {
      ITfDisplayAttributeInfo* info = NewPendingTextAttribute();
      if (!info) break;
      infos[given++] = info;
      ++next_;
    }
    if (fetched) *fetched = given;
    return given == count ? S_OK : S_FALSE;
  }
  STDMETHODIMP Reset() override {
    next_ = 0;
    return S_OK;
  }
  STDMETHODIMP Skip(ULONG count) override {
    ULONG left = kCount - next_;
    next_ += count < left ? count : left;
    return count <= left ? S_OK : S_FALSE;
  }

 private:
  static constexpr ULONG kCount = 1;
  ULONG next_;
};

}  // namespace

ITfDisplayAttributeInfo* NewPendingTextAttribute() {
  return new (std::nothrow) PendingTextAttribute;
}

IEnumTfDisplayAttributeInfo* NewDisplayAttributeList() { return new (std::nothrow) AttributeList; }

}  // namespace tvime
