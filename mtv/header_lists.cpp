#include "mtv/header_lists.h"

#include <cstdio>

namespace quarnel {

std::string resolution_text(Resolution r) {
    char text[32];
    std::snprintf(text, sizeof text, "%3dx%3d", r.width, r.height);
    return text;
}

}  // namespace quarnel
