// The search palette in the real window: Ctrl+K on a page, pinyin typed,
// Enter; the entry's page comes up and its snippet is on the clipboard.
#include "core/catalog/pagetable.h"
#include "tests/realwindow/scenario.h"

namespace {

const ScenarioRegistration search{{
    {"search palette: pinyin and Enter",
     {
         {Page::Home, "homePageTag1", nullptr, nullptr, u"{zuvi:global name='web_name' /}\r\n"},
         // Opening the palette changes nothing.
         {Page::Home, nullptr, nullptr, "ctrl+k", nullptr, true},
         {Page::Home, nullptr, u"fenye", "Return",
          u"{zuvi:pagelist listitem='index,pre,pageno,next,end' listsize='2' /}\r\n", false, Page::List},
         // Esc closes it again without a change.
         {Page::List, nullptr, nullptr, "ctrl+k", nullptr, true},
         {Page::List, nullptr, u"hyzxdl", "Escape", nullptr, true},
     }},
}};

} // namespace
