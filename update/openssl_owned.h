#pragma once
// OpenSSL objects owned by std::unique_ptr and freed by their own functions (host side only).

#include <memory>

namespace tvime {

template <auto Free>
struct FreeWith {
  template <typename T>
  void operator()(T* object) const {
    Free(object);
  }
};
template <typename T, auto Free>
using Owned = std::unique_ptr<T, FreeWith<Free>>;

}  // namespace tvime
