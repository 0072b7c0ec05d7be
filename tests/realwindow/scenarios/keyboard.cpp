// Using the tool without a mouse, in the real window: Tab reaches one entry
// per group, the arrows choose within the group, Enter and Esc click the own
// navigation button, and Enter on another navigation button goes there.
#include "core/catalog/pagetable.h"
#include "tests/realwindow/scenario.h"

namespace {

const ScenarioRegistration keyboard{{
    {"keyboard only",
     {
         // Start from a known state: entry 2 chosen, focus on the own button.
         {Page::Home, "homePageTag2", nullptr, nullptr, u"{zuvi:global name='web_logo' /}\r\n"},
         {Page::Home, "navigationButton1", nullptr, nullptr, nullptr, true},
         // Eight Tabs pass the other navigation buttons, the ninth reaches
         // the chosen entry of the global tags; Right chooses the next one.
         {Page::Home, nullptr, nullptr, "Tab Tab Tab Tab Tab Tab Tab Tab Tab Right",
          u"{zuvi:global name='web_recordnum' /}\r\n"},
         // The arrows run on from the end of the first row into the second.
         {Page::Home, nullptr, nullptr, "Right Right", u"{zuvi:global name='web_title' /}\r\n"},
         // Esc and Enter click the own button: the page stays, nothing is copied.
         {Page::Home, nullptr, nullptr, "Escape", nullptr, true},
         {Page::Home, nullptr, nullptr, "Return", nullptr, true},
         // Clicking the own button took the focus there; one Tab on is the
         // list page's button, and Enter goes to that page.
         {Page::Home, nullptr, nullptr, "Tab Return", nullptr, true, Page::List},
         // The list page is the visible one now: a click on its entry 6 lands.
         {Page::List, "listPageTag6", nullptr, nullptr,
          u"{zuvi:volist name=\"$field.file_list\" id=\"vo\" row=\"6\"}\r\n"
          u"   <a href='{$vo.downurl}'>{$vo.title}</a>\r\n{/zuvi:volist}\r\n"},
     }},
}};

} // namespace
