#pragma once

namespace quorvanta {

// The windows are laid out in pixels for the widths of Arial at 8 points on
// a 96-dpi screen; Liberation Sans has the same widths. Makes it the
// application's font, falling back to the system's sans-serif face where it
// is missing.
void useInterfaceFont();

}  // namespace quorvanta
