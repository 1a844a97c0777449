// The product's own names, shared by both programs and by their resource
// files (which see only the macro).
#pragma once

#define VTC_PRODUCT_TITLE "Varnok Traffic Counter"

#ifndef RC_INVOKED
namespace vtc {

constexpr const char* kProductTitle = VTC_PRODUCT_TITLE;

}  // namespace vtc
#endif
