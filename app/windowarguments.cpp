#include "app/windowarguments.h"

#include <algorithm>
#include <iterator>

namespace {

using namespace std::string_view_literals;

// QApplication's and its X11 platform's options, by whether they take a value.
constexpr std::string_view kWithValue[] = {
    "platform"sv, "platformpluginpath"sv, "platformtheme"sv, "plugin"sv, "qwindowgeometry"sv, "qwindowicon"sv,
    "qwindowtitle"sv, "session"sv, "style"sv, "stylesheet"sv, "display"sv, "geometry"sv,
    "name"sv, "title"sv, "visual"sv, "ncols"sv, "cmap"sv, "im"sv,
    "inputstyle"sv, "fn"sv, "font"sv, "bg"sv, "fg"sv, "btn"sv,
};
constexpr std::string_view kFlags[] = {"reverse"sv, "widgetcount"sv, "nograb"sv, "dograb"sv, "sync"sv};

bool listed(std::string_view name, const auto &names)
{
    return std::find(std::begin(names), std::end(names), name) != std::end(names);
}

// `text` up to `end` and after it, without substr(), which may throw: the
// launcher links no C++ library to throw with.
std::string_view before(std::string_view text, size_t end)
{
    return {text.data(), std::min(end, text.size())};
}
std::string_view after(std::string_view text, size_t end)
{
    text.remove_prefix(end + 1);
    return text;
}

} // namespace

std::optional<WindowArguments> argumentsForTheWindows(int count, const char *const *arguments)
{
    constexpr std::string_view search = "search";
    WindowArguments windows;
    for (int i = 0; i < count; ++i) {
        std::string_view name = arguments[i];
        if (!name.starts_with('-'))
            return std::nullopt;
        name.remove_prefix(name.starts_with("--") ? 2 : 1);
        const size_t equals = name.find('=');
        const std::string_view key = before(name, equals);
        if (key == search) {
            windows.search = true;
            windows.searchText = {};
            if (equals != std::string_view::npos)
                windows.searchText = after(name, equals);
            else if (i + 1 < count && arguments[i + 1][0] != '-')
                windows.searchText = arguments[++i];
        } else if (equals != std::string_view::npos) {
            if (!listed(key, kWithValue))
                return std::nullopt;
        } else if (listed(name, kWithValue)) {
            if (++i >= count)
                return std::nullopt;
        } else if (!listed(name, kFlags)) {
            return std::nullopt;
        }
    }
    return windows;
}
