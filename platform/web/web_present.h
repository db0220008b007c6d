// Showing the picture on the page.
#pragma once

namespace platform::web {

// Puts what was drawn since the last present on the page (everything when
// `always`, or the first time).
void Present(bool always);
// Whether the page has had a picture yet.
bool Shown();

}  // namespace platform::web
