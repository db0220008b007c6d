// What every backend's MessageBox reads from the call in the same way.
#pragma once

#include <string>

namespace platform::common {

struct BoxRequest {
    BoxRequest(const char* text, const char* caption, unsigned type);
    std::string text;  // code page 1250, as the game passed it ("" for none)
    std::string caption;
    std::string utf8Text;  // the same for display
    std::string utf8Caption;
    bool yesNo;      // Yes and No, else OK alone
    bool error;      // MB_ICONHAND
    int unanswered;  // the answer of a box that is closed or cannot show: No, or OK
};

}  // namespace platform::common
