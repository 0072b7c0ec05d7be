// Typing into the home page's builder boxes in the real window.
#include "core/catalog/pagetable.h"
#include "tests/realwindow/scenario.h"

namespace {

const ScenarioRegistration home{{
    {"navigation menu typed keystroke by keystroke",
     {
         {Page::Home, "columnId", u"5", nullptr,
          u"{zuvi:channel type='top' typeid='5' currentstyle='on'}\r\n"
          u"<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n"},
         {Page::Home, "columnCount", u"8", nullptr,
          u"{zuvi:channel type='top' typeid='5' row='8' currentstyle='on'}\r\n"
          u"<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n"},
         {Page::Home, "columnId", nullptr, "BackSpace",
          u"{zuvi:channel type='top' row='8' currentstyle='on'}\r\n"
          u"<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n"},
     }},
    {"article list parameters select layout one",
     {
         {Page::Home, "articleLayout3", nullptr, nullptr,
          u"{zuvi:arclist orderby='now'}\r\n<li>\r\n<a href='{$field.arcurl}'><img src='{$field.litpic}' />{$field.title}</a>\r\n"
          u"<span>{$field.seo_description}...</span>\r\n</li>\r\n{/zuvi:arclist}\r\n"},
         {Page::Home, "articleRows", u"10", nullptr,
          u"{zuvi:arclist row='10' orderby='now'}\r\n<li>\r\n<a href='{$field.typeurl}'>{$field.typename}</a>\r\n"
          u"<a href='{$field.arcurl}'>{$field.title}</a>\r\n</li>\r\n{/zuvi:arclist}\r\n"},
         {Page::Home, "articleTitleLength", u"3a", nullptr,
          u"{zuvi:arclist row='10' orderby='now'}\r\n<li>\r\n<a href='{$field.typeurl}'>{$field.typename}</a>\r\n"
          u"<a href='{$field.arcurl}'>{$field.title}</a>\r\n</li>\r\n{/zuvi:arclist}\r\n"},
         {Page::Home, "articleClicks", nullptr, nullptr, u"{$field.click}\r\n"},
     }},
    {"drop-down choices",
     {
         // The list opens on the item shown; two down and Enter choose 下级栏目.
         {Page::Home, "columnAttribute", nullptr, "Down Down Return",
          u"{zuvi:channel type='son' row='8' currentstyle='on'}\r\n"
          u"<a href='{$field.typeurl}' class='{$field.currentstyle}'>{$field.typename}</a>\r\n{/zuvi:channel}\r\n"},
         {Page::Home, "otherField", nullptr, "Down Down Return", u"{$field.litpic}\r\n"},
         // Back to 下拉选择: the box is emptied and so is the clipboard text.
         {Page::Home, "otherField", nullptr, "Up Up Return", u""},
         {Page::Home, "articleTimeStyle", nullptr, "Down Down Return", u"{$field.add_time|MyDate='Y-m-d',###}\r\n"},
         // Choosing the item already shown counts as a choice.
         {Page::Home, "homePageTag1", nullptr, nullptr, u"{zuvi:global name='web_name' /}\r\n"},
         {Page::Home, "articleTimeStyle", nullptr, "Return", u"{$field.add_time|MyDate='Y-m-d',###}\r\n"},
         {Page::Home, "articleOrder", nullptr, "Down Return",
          u"{zuvi:arclist row='10' orderby='click'}\r\n<li>\r\n<a href='{$field.typeurl}'>{$field.typename}</a>\r\n"
          u"<a href='{$field.arcurl}'>{$field.title}</a>\r\n</li>\r\n{/zuvi:arclist}\r\n"},
     }},
}};

} // namespace
