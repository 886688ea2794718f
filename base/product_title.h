#pragma once
// The product's name and the title of its own message boxes. Macros, so that the resource scripts
// (windres reads them with the C preprocessor) and the setup script (makensis reads the #define
// lines) take the same text as the C++ code.

#define TVIME_PRODUCT_NAME "沃岚鼠标输入法"
#define TVIME_PRODUCT_VERSION "3.1"
#define TVIME_PRODUCT_TITLE TVIME_PRODUCT_NAME " " TVIME_PRODUCT_VERSION

#ifndef RC_INVOKED
namespace tvime {

// The caption of the product's own message boxes (the update agent's question has the shorter
// TVIME_PRODUCT_NAME).
inline constexpr char kProductTitle[] = TVIME_PRODUCT_TITLE;

}  // namespace tvime
#endif
