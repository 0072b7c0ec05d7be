#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <QMap>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

// Entries whose lines are easy to get wrong by a character: blanks at either
// end, quotes, full-width signs, a tag and its body sharing a line.
struct ExactEntry {
    int page;
    int index;
    const char *trap;
    QStringList lines;
};

const ExactEntry kExactEntries[] = {
    {Page::Home, 4, "the opening tag ends with a blank",
     {
         u"{zuvi:flink type='text' row='100' titlelen='20'} "_s,
         u"<a href='{$field.url}' {$field.target}>{$field.title}</a>"_s,
         u"{/zuvi:flink}"_s,
     }},
    {Page::Content, 1, "a bar inside the line",
     {
         u"{$zuvi.field.add_time|MyDate='Y-m-d H:i:s',###}"_s,
     }},
    {Page::Content, 11, "blank-padded caption word, full-width colon",
     {
         u"{zuvi:prenext get='pre'}"_s,
         u"<a href='{$field.arcurl}' title='{$field.title}' class='page-link'> 上一篇 <span>: {$field.title}</span> </a>"_s,
         u"{zuvi:else /}"_s,
         u"<a class='page-link'>上一篇：没有了</a>"_s,
         u"{/zuvi:prenext}"_s,
     }},
    {Page::Content, 12, "blank-padded caption word, full-width colon",
     {
         u"{zuvi:prenext get='next'}"_s,
         u"<a href='{$field.arcurl}' title='{$field.title}' class='page-link'> 下一篇 <span>: {$field.title}</span> </a>"_s,
         u"{zuvi:else /}"_s,
         u"<a class='page-link'>下一篇：没有了</a>"_s,
         u"{/zuvi:prenext}"_s,
     }},
    {Page::Content, 13, "double-quoted picture values, full-width parentheses",
     {
         u"{zuvi:collect id='collect' cancel=\"<img src='./../public/static/common/images/cancel.png' />\" collect=\"<img src='./../public/static/common/images/shoucang.png' />\"}"_s,
         u"<a {$collect.onclick}>{$collect.cancel}</a>"_s,
         u"（收藏数：<span {$collect.numId}></span>次）"_s,
         u"{$collect.hidden}"_s,
         u"{/zuvi:collect}"_s,
     }},
    {Page::Content, 14, "leading blanks, seven on line 24",
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
    {Page::Content, 15, "tag and body share line 1; line 2 ends with a blank",
     {
         u"{zuvi:specnode aid='这里录入专题内容页文档ID' code='这里录入专题节点标识' }<li><a href='{$field.arcurl}'>{$field.title}</a></li>"_s,
         u"{/zuvi:specnode} "_s,
     }},
    {Page::Content, 16, "tag and body share line 1",
     {
         u"{zuvi:attribute type='newattr' attrid='$zuvi.field.attrlist_id'}{$attr.name}:{$attr.value}"_s,
         u"{/zuvi:attribute}"_s,
     }},
    {Page::Shop, 0, "line 1 ends with a blank; full-width commas",
     {
         u"<!--购物车组件start--> "_s,
         u"{zuvi:sppurchase id='field' currentstyle='btn-danger'}"_s,
         u"<!--购物车的标签请放在这里如-->"_s,
         u"<!--例如：价格标签，商品参数标签，数量标签，库存量标签，购买按钮标签-->"_s,
         u"{$field.hidden}"_s,
         u"{/zuvi:sppurchase}"_s,
         u"<!--购物车组件end-->"_s,
     }},
    {Page::Shop, 1, "full-width yen sign U+FFE5",
     {
         u"<div class='zv-price'><span>￥{$field.users_price}</span> </div>"_s,
     }},
    {Page::Shop, 2, "three blanks before class on line 6",
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
    {Page::Shop, 3, "line 8 ends with a blank",
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
    {Page::Shop, 4, "the line ends with a blank",
     {
         u"<span {$field.stock_show}>库存量：{$field.stock_count} 件</span> "_s,
     }},
    {Page::Shop, 7, "inner blocks cart, login, registration, logout",
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
    {Page::Shop, 8, "full-width colons",
     {
         u"{zuvi:memberinfos mid='$zuvi.field.users_id' id='users'}"_s,
         u"  会员昵称：{$users.nickname}"_s,
         u"  会员头像：<img src='{$users.head_pic}' width='50' height='50' />"_s,
         u"  {$users.hidden}"_s,
         u"{/zuvi:memberinfos}"_s,
     }},
    {Page::Shop, 9, "double-quoted link targets, full-width parentheses",
     {
         u"<a href=\"{zuvi:Diyurl link='user/Shop/shop_cart_list' /}\">购物车（{$users.cart_num}）</a>"_s,
         u"<a href=\"{zuvi:Diyurl link='user/Users/index' /}\">{$users.username}</a>"_s,
         u"<a href=\"{zuvi:Diyurl link='user/Users/logout' /}\">退出</a>"_s,
     }},
    {Page::Shop, 10, "full-width colons, leading blanks",
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

TEST(PageDataTraps, EntriesWithTrapsHoldTheirLinesToTheLastBlank)
{
    for (const ExactEntry &expected : kExactEntries) {
        const PageCatalog &catalog = pageData(expected.page);
        const CatalogControl *entry = catalog.entry(qint16(expected.index));
        ASSERT_NE(entry, nullptr) << "page " << expected.page << " entry " << expected.index;
        EXPECT_EQ(entry->lines, expected.lines)
            << "page " << expected.page << " entry " << expected.index << ": " << expected.trap;
    }
}

TEST(PageDataTraps, HoverTipsStandOnTheirEntriesAndNowhereElse)
{
    const struct {
        int page;
        QMap<qint16, QString> tips;
    } pages[] = {
        {Page::Content,
         {{14, u"电脑端使用此标签需要加载/template/pc/system/article_pay.htm 模板文件"_s}}},
        {Page::Shop,
         {{6, u"此标签需要加载模板的system里存放product_comment.htm、comment_list.htm 模板文件"_s},
          {9, u"在模板目录pc或者mobile的system里存放users_info.htm文件"_s}}},
    };
    for (const auto &page : pages) {
        const PageCatalog &catalog = pageData(page.page);
        ASSERT_FALSE(catalog.entries().isEmpty()) << "page " << page.page;
        for (const CatalogControl *entry : catalog.entries())
            EXPECT_EQ(entry->tip, page.tips.value(entry->index)) << "page " << page.page << " entry " << entry->index;
    }
}

} // namespace
