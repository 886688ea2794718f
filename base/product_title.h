#pragma once
// The caption of the product's own message boxes (the update agent's question has a shorter one
// of its own, "沃岚鼠标输入法").

namespace tvime {

inline constexpr char kProductTitle[] = "沃岚鼠标输入法 3.1";

}  // namespace tvime
