// The product's own names, shared by both programs.
#pragma once

namespace vtc {

constexpr const char* kProductTitle = "Varnok Traffic Counter";

}  // namespace vtc
