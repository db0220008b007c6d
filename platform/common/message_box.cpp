#include "platform/common/message_box.h"

#include "platform/common/text.h"
#include "platform/platform.h"

namespace platform::common {

BoxRequest::BoxRequest(const char* text_, const char* caption_, unsigned type)
    : text(text_ ? text_ : ""),
      caption(caption_ ? caption_ : ""),
      utf8Text(Cp1250ToUtf8(text)),
      utf8Caption(Cp1250ToUtf8(caption)),
      yesNo((type & 0xF) == MB_YESNO),
      error((type & MB_ICONHAND) != 0),
      unanswered(yesNo ? IDNO : IDOK) {}

}  // namespace platform::common
