#include "shell/pagecatalog.h"
#include "tests/support/qtprinters.h"

#include <QMap>
#include <gtest/gtest.h>

#include <span>

using namespace Qt::StringLiterals;

namespace {

inline void PrintTo(const TwipRect &r, std::ostream *os)
{
    *os << r.left << ' ' << r.top << ' ' << r.width << ' ' << r.height;
}

// Every entry of the content and shop pages: caption, the frame that holds
// it, its place in that frame, and how many lines it writes.
struct EntryRow {
    int index;
    QString caption;
    const char *container;
    TwipRect at;
    int lines;
};

const EntryRow kContentEntries[] = {
    {0, u"文章标题"_s, "Frame1", {360, 360, 1095, 255}, 1},
    {1, u"发布时间"_s, "Frame1", {1800, 360, 1095, 180}, 1},
    {2, u"文章作者"_s, "Frame1", {3360, 360, 1095, 255}, 1},
    {3, u"文章主体"_s, "Frame1", {4920, 360, 1335, 180}, 1},
    {4, u"点击次数"_s, "Frame1", {6480, 360, 1335, 255}, 1},
    {5, u"文章摘要"_s, "Frame1", {8040, 360, 1095, 255}, 1},
    {6, u"文章收藏数"_s, "Frame1", {9480, 360, 1215, 255}, 1},
    {7, u"文章地址"_s, "Frame1", {360, 840, 1215, 180}, 1},
    {8, u"文章缩略图"_s, "Frame1", {1800, 840, 1215, 180}, 1},
    {9, u"栏目名称"_s, "Frame1", {3360, 840, 1215, 180}, 1},
    {10, u"栏目链接"_s, "Frame1", {4920, 840, 1095, 180}, 1},
    {11, u"上一篇"_s, "Frame1", {6480, 840, 975, 180}, 5},
    {12, u"下一篇"_s, "Frame1", {8040, 840, 975, 180}, 5},
    {13, u"文章收藏标签"_s, "Frame1", {9480, 840, 1455, 255}, 5},
    {14, u"文章付费"_s, "Frame1", {360, 1260, 1095, 180}, 33},
    {15, u"专题节点"_s, "Frame1", {1800, 1260, 1215, 255}, 2},
    {16, u"循环调用产品参数"_s, "Frame2", {360, 600, 1815, 255}, 2},
    {17, u"循环调用图集地址"_s, "Frame3", {360, 600, 1815, 180}, 3},
    {18, u"视频在线播放"_s, "Frame4", {240, 600, 1575, 255}, 4},
    {19, u"视频选集列表"_s, "Frame4", {2040, 600, 1455, 255}, 4},
    {20, u"视频课件"_s, "Frame4", {3720, 600, 1095, 180}, 1},
    {21, u"循环调用下载列表"_s, "Frame5", {360, 480, 1815, 255}, 3},
    {22, u"内容页title"_s, "Frame6", {480, 480, 1455, 180}, 1},
    {23, u"内容页keywords"_s, "Frame6", {3000, 480, 1695, 180}, 1},
    {24, u"内容页description"_s, "Frame6", {5640, 480, 2055, 255}, 1},
    {25, u"下载次数"_s, "Frame1", {3360, 1320, 1215, 180}, 1},
    {26, u"文章副标题"_s, "Frame1", {4920, 1320, 1335, 255}, 1},
    {27, u"文章来源"_s, "Frame1", {6480, 1320, 1095, 255}, 1},
};

const EntryRow kShopEntries[] = {
    {0, u"购物车外围组件"_s, "Frame1", {600, 480, 1695, 255}, 7},
    {1, u"价格标签"_s, "Frame1", {3480, 480, 1095, 180}, 1},
    {2, u"商品参数标签"_s, "Frame1", {6240, 480, 1455, 255}, 10},
    {3, u"商品数量标签"_s, "Frame1", {8880, 480, 1575, 180}, 8},
    {4, u"库存量标签"_s, "Frame1", {600, 1080, 1335, 255}, 1},
    {5, u"购买按钮标签"_s, "Frame1", {3480, 1080, 1575, 255}, 4},
    {6, u"商品评价列表标签"_s, "Frame1", {6240, 1080, 2055, 255}, 4},
    {7, u"会员中心登陆"_s, "Frame2", {600, 360, 1455, 255}, 18},
    {8, u"内容页会员头像、昵称"_s, "Frame2", {3480, 360, 2175, 180}, 5},
    {9, u"UsersInfo文件代码"_s, "Frame2", {6240, 360, 1935, 180}, 3},
    {10, u"登陆后用户信息"_s, "Frame2", {8760, 360, 2055, 180}, 9},
};

struct PageEntries {
    const char *file;
    std::span<const EntryRow> rows;
};

const PageEntries kPages[] = {
    {"content.page", kContentEntries},
    {"shop.page", kShopEntries},
};

TEST(ContentShopCatalog, EveryEntryHasItsCaptionPlaceAndLineCount)
{
    for (const PageEntries &page : kPages) {
        const PageCatalog catalog = PageCatalog::load(QString::fromLatin1(page.file));
        ASSERT_EQ(catalog.entries().size(), qsizetype(page.rows.size())) << page.file;
        for (const EntryRow &row : page.rows) {
            const CatalogControl *entry = catalog.entry(qint16(row.index));
            ASSERT_NE(entry, nullptr) << page.file << " entry " << row.index;
            EXPECT_EQ(entry->caption, row.caption) << page.file << " entry " << row.index;
            EXPECT_EQ(entry->container, QString::fromLatin1(row.container)) << page.file << " entry " << row.index;
            EXPECT_EQ(entry->at, row.at) << page.file << " entry " << row.index;
            EXPECT_EQ(entry->lines.size(), row.lines) << page.file << " entry " << row.index;
        }
    }
}

// Entries whose lines are easy to get wrong by a character: blanks at either
// end, quotes, full-width signs, a tag and its body sharing a line.
struct ExactEntry {
    const char *file;
    int index;
    const char *trap;
    QStringList lines;
};

const ExactEntry kExactEntries[] = {
    {"content.page", 1, "a bar inside the line",
     {
         u"{$zuvi.field.add_time|MyDate='Y-m-d H:i:s',###}"_s,
     }},
    {"content.page", 11, "blank-padded caption word, full-width colon",
     {
         u"{zuvi:prenext get='pre'}"_s,
         u"<a href='{$field.arcurl}' title='{$field.title}' class='page-link'> 上一篇 <span>: {$field.title}</span> </a>"_s,
         u"{zuvi:else /}"_s,
         u"<a class='page-link'>上一篇：没有了</a>"_s,
         u"{/zuvi:prenext}"_s,
     }},
    {"content.page", 12, "blank-padded caption word, full-width colon",
     {
         u"{zuvi:prenext get='next'}"_s,
         u"<a href='{$field.arcurl}' title='{$field.title}' class='page-link'> 下一篇 <span>: {$field.title}</span> </a>"_s,
         u"{zuvi:else /}"_s,
         u"<a class='page-link'>下一篇：没有了</a>"_s,
         u"{/zuvi:prenext}"_s,
     }},
    {"content.page", 13, "double-quoted picture values, full-width parentheses",
     {
         u"{zuvi:collect id='collect' cancel=\"<img src='./../public/static/common/images/cancel.png' />\" collect=\"<img src='./../public/static/common/images/shoucang.png' />\"}"_s,
         u"<a {$collect.onclick}>{$collect.cancel}</a>"_s,
         u"（收藏数：<span {$collect.numId}></span>次）"_s,
         u"{$collect.hidden}"_s,
         u"{/zuvi:collect}"_s,
     }},
    {"content.page", 14, "leading blanks, seven on line 24",
     {
         u"{zuvi:articlepay id='field'}"_s,
         u"<!-- 内容显示 -->"_s,
         u"<div {$field.contentId}>"_s,
         u"   {$field.content}"_s,
         u"</div>"_s,
         u"  <!-- 付费文档 -->"_s,
         u"  <div {$field.displayId}>"_s,
         u"    <div>"_s,
         u"    <div>当前隐藏内容需要支付<span>{$zuvi.field.users_price}RNB</span></div>"_s,
         u"    <p>已有<span class='red'>&nbsp;{zuvi:freebuynum /}</span>人支付</p>"_s,
         u"    <div>"_s,
         u"      <a {$field.onclick}>支付查看</a>"_s,
         u"    </div>"_s,
         u"  </div>"_s,
         u"</div>"_s,
         u"<!-- 会员限制 -->"_s,
         u"<div {$field.vipDisplayId}>"_s,
         u"  <div>"_s,
         u"    {zuvi:eq name='$zuvi.field.restric_type' value='2'}<span>加入VIP 永久免费浏览</span>{/zuvi:eq}"_s,
         u"    <div class='login-false'>"_s,
         u"      {zuvi:if condition='$zuvi.field.restric_type == 2'}"_s,
         u"      <p>当前隐藏内容需要【<font color='red'>{$zuvi.field.arc_level_id|getArcLevelName=###}</font>】才能查看</p>"_s,
         u"      {zuvi:elseif condition='$zuvi.field.restric_type == 3' /}"_s,
         u"       <p>当前隐藏内容需要【<font color='red'>{$zuvi.field.arc_level_id|getArcLevelName=###}</font>】付费才能查看</p>"_s,
         u"      {/zuvi:if}"_s,
         u"    </div>"_s,
         u"    <div>"_s,
         u"      <a {$field.onBuyVipClick}> 购买会员</a>"_s,
         u"    </div>"_s,
         u"  </div>"_s,
         u"</div>"_s,
         u"{$field.hidden}"_s,
         u"{/zuvi:articlepay}"_s,
     }},
    {"content.page", 15, "tag and body share line 1; line 2 ends with a blank",
     {
         u"{zuvi:specnode aid='这里录入专题内容页文档ID' code='这里录入专题节点标识' }<li><a href='{$field.arcurl}'>{$field.title}</a></li>"_s,
         u"{/zuvi:specnode} "_s,
     }},
    {"content.page", 16, "tag and body share line 1",
     {
         u"{zuvi:attribute type='newattr' attrid='$zuvi.field.attrlist_id'}{$attr.name}:{$attr.value}"_s,
         u"{/zuvi:attribute}"_s,
     }},
    {"shop.page", 0, "line 1 ends with a blank; full-width commas",
     {
         u"<!--购物车组件start--> "_s,
         u"{zuvi:sppurchase id='field' currentstyle='btn-danger'}"_s,
         u"<!--购物车的标签请放在这里如-->"_s,
         u"<!--例如：价格标签，商品参数标签，数量标签，库存量标签，购买按钮标签-->"_s,
         u"{$field.hidden}"_s,
         u"{/zuvi:sppurchase}"_s,
         u"<!--购物车组件end-->"_s,
     }},
    {"shop.page", 1, "full-width yen sign U+FFE5",
     {
         u"<div class='zv-price'><span>￥{$field.users_price}</span> </div>"_s,
     }},
    {"shop.page", 2, "three blanks before class on line 6",
     {
         u"{zuvi:volist name='$field.ReturnData' id='field2'}"_s,
         u"<div class='row'>"_s,
         u"  <label class='col-sm-7'>{$field2.spec_name}</label>"_s,
         u"  <div class='col-sm-10'>"_s,
         u"    {zuvi:volist name='$field2.spec_value' id='field3'}"_s,
         u"    <a href='JavaScript:void(0);' {$field3.SpecData}   class='btn {$field3.SpecClass}'>{$field3.spec_value}</a>"_s,
         u"    {/zuvi:volist}"_s,
         u"  </div>"_s,
         u"</div>"_s,
         u"{/zuvi:volist}"_s,
     }},
    {"shop.page", 3, "line 8 ends with a blank",
     {
         u"<div class='zv-number'>"_s,
         u"  <label>数量</label>"_s,
         u"  <div class='btn-input'>"_s,
         u"    <button class='layui-btn' {$field.ReduceQuantity}>-</button>"_s,
         u"    <input type='text' class='layui-input' {$field.UpdateQuantity}>"_s,
         u"    <button class='layui-btn' {$field.IncreaseQuantity}>+</button>"_s,
         u"  </div>"_s,
         u"</div> "_s,
     }},
    {"shop.page", 4, "the line ends with a blank",
     {
         u"<span {$field.stock_show}>库存量：{$field.stock_count} 件</span> "_s,
     }},
    {"shop.page", 7, "inner blocks cart, login, registration, logout",
     {
         u"{zuvi:user type='open'}"_s,
         u"  {zuvi:user type='cart'}"_s,
         u"  <a href='{$field.url}' id='{$field.id}' >购物车(<font color='red' id='{$field.cartid}'>0</font>)</a>"_s,
         u"  {$field.hidden}"_s,
         u"  {/zuvi:user}"_s,
         u"  {zuvi:user type='login'}"_s,
         u"  <a href='{$field.url}' id='{$field.id}' >登录</a>"_s,
         u"  {$field.hidden}"_s,
         u"  {/zuvi:user}"_s,
         u"  {zuvi:user type='reg'}"_s,
         u"  <a href='{$field.url}' id='{$field.id}' >注册</a>"_s,
         u"  {$field.hidden}"_s,
         u"  {/zuvi:user}"_s,
         u"  {zuvi:user type='logout'}"_s,
         u"  <a href='{$field.url}' id='{$field.id}' >退出</a>"_s,
         u"  {$field.hidden}"_s,
         u"  {/zuvi:user}"_s,
         u"{/zuvi:user}"_s,
     }},
    {"shop.page", 8, "full-width colons",
     {
         u"{zuvi:memberinfos mid='$zuvi.field.users_id' id='users'}"_s,
         u"  会员昵称：{$users.nickname}"_s,
         u"  会员头像：<img src='{$users.head_pic}' width='50' height='50' />"_s,
         u"  {$users.hidden}"_s,
         u"{/zuvi:memberinfos}"_s,
     }},
    {"shop.page", 9, "double-quoted link targets, full-width parentheses",
     {
         u"<a href=\"{zuvi:Diyurl link='user/Shop/shop_cart_list' /}\">购物车（{$users.cart_num}）</a>"_s,
         u"<a href=\"{zuvi:Diyurl link='user/Users/index' /}\">{$users.username}</a>"_s,
         u"<a href=\"{zuvi:Diyurl link='user/Users/logout' /}\">退出</a>"_s,
     }},
    {"shop.page", 10, "full-width colons, leading blanks",
     {
         u"{zuvi:user type='info'}"_s,
         u"  <div id='{$field.id}'>"_s,
         u"    头像：<a id='{$field.url}' href=''><img id='{$field.head_pic}' width='50' height='50' /></a><br/>"_s,
         u"    用户名：<font id='{$field.username}'></font><br/>"_s,
         u"    登录日期：<font id='{$field.reg_time}'></font><br/>"_s,
         u"    登录IP：<font id='{$field.last_ip}'></font><br/>"_s,
         u"    {$field.hidden}"_s,
         u"  </div>"_s,
         u"{/zuvi:user}"_s,
     }},
};

TEST(ContentShopCatalog, EntriesWithTrapsHoldTheirLinesToTheLastBlank)
{
    for (const ExactEntry &expected : kExactEntries) {
        const PageCatalog catalog = PageCatalog::load(QString::fromLatin1(expected.file));
        const CatalogControl *entry = catalog.entry(qint16(expected.index));
        ASSERT_NE(entry, nullptr) << expected.file << " entry " << expected.index;
        EXPECT_EQ(entry->lines, expected.lines)
            << expected.file << " entry " << expected.index << ": " << expected.trap;
    }
}

TEST(ContentShopCatalog, HoverTipsStandOnTheirEntriesAndNowhereElse)
{
    const struct {
        const char *file;
        QMap<qint16, QString> tips;
    } pages[] = {
        {"content.page",
         {{14, u"电脑端使用此标签需要加载/template/pc/system/article_pay.htm 模板文件"_s}}},
        {"shop.page",
         {{6, u"此标签需要加载模板的system里存放product_comment.htm、comment_list.htm 模板文件"_s},
          {9, u"在模板目录pc或者mobile的system里存放users_info.htm文件"_s}}},
    };
    for (const auto &page : pages) {
        const PageCatalog catalog = PageCatalog::load(QString::fromLatin1(page.file));
        ASSERT_FALSE(catalog.entries().isEmpty()) << page.file;
        for (const CatalogControl *entry : catalog.entries())
            EXPECT_EQ(entry->tip, page.tips.value(entry->index)) << page.file << " entry " << entry->index;
    }
}

} // namespace
