#pragma once

#include <string_view>

namespace quorvanta {

// The program's title: window captions and the L line of downloaded files.
inline constexpr std::string_view ApplicationTitle = "Quorvanta   Vers. 3.2";

// The main window's caption: what the program is for.
inline constexpr std::string_view MainWindowCaption =
    "Quorvanta: Optimieren von Flügen für Online Contest 2003";

}  // namespace quorvanta
