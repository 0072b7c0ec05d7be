#pragma once

#include <optional>
#include <string_view>

// What the windows are asked for: the search palette open, with a query
// typed in (the bytes of the argument, which live as long as argv).
struct WindowArguments {
    bool search = false;
    std::string_view searchText;
    bool operator==(const WindowArguments &) const = default;
};

// The arguments (without the program's name) for the windows: none at all,
// the toolkit's own options (-platform xcb, -style fusion, -reverse, ...),
// which QApplication takes, and --search, with a text to search for as the
// next argument (unless it starts with a dash) or as --search=TEXT. Nothing
// where any other argument is given: that is for the command line, which
// accepts or refuses it.
//
// Needs no library at all: zuvi-taggen decides with it which program runs
// before it loads one (app/launcher.cpp).
std::optional<WindowArguments> argumentsForTheWindows(int count, const char *const *arguments);
