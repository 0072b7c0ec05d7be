// Typing into the home page's builder boxes in the real window.
#include "shell/navigation.h"
#include "tests/realwindow/scenario.h"

namespace {

const ScenarioRegistration home{{
    {"navigation menu typed keystroke by keystroke",
     {
         {Page::Home, "Text2", u"5", nullptr,
          u"{zuvi:channel type='top' typeid='5' currentstyle='on'}\r\n"
          u"<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n"},
         {Page::Home, "Text3", u"8", nullptr,
          u"{zuvi:channel type='top' typeid='5' row='8' currentstyle='on'}\r\n"
          u"<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n"},
         {Page::Home, "Text2", nullptr, "BackSpace",
          u"{zuvi:channel type='top' row='8' currentstyle='on'}\r\n"
          u"<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n"},
     }},
    {"article list parameters select layout one",
     {
         {Page::Home, "Option2(3)", nullptr, nullptr,
          u"{zuvi:arclist orderby='now'}\r\n<li>\r\n<a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>\r\n"
          u"<span>{$field.seo_description}...</span>\r\n</li>\r\n{/zuvi:arclist}\r\n"},
         {Page::Home, "Text6", u"10", nullptr,
          u"{zuvi:arclist row='10' orderby='now'}\r\n<li>\r\n<a href='{$field.typeurl}'>{$field.typename}</a>\r\n"
          u"<a href='{$field.arcurl}'>{$field.title}</a>\r\n</li>\r\n{/zuvi:arclist}\r\n"},
         {Page::Home, "Text5", u"3a", nullptr,
          u"{zuvi:arclist row='10' orderby='now'}\r\n<li>\r\n<a href='{$field.typeurl}'>{$field.typename}</a>\r\n"
          u"<a href='{$field.arcurl}'>{$field.title}</a>\r\n</li>\r\n{/zuvi:arclist}\r\n"},
         {Page::Home, "Option2(5)", nullptr, nullptr, u"{$field.click}\r\n"},
     }},
}};

} // namespace
