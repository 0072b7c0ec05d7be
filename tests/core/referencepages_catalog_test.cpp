#include "tests/support/pagedata.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <vector>

// The long snippets of the template files page (files.page) and the
// extension functions page (functions.page): whole template files and PHP
// functions with a fixed number of lines and key lines at fixed places, and
// the style rules and scripts inside the template files.

namespace {

const PageCatalog &catalog(const char *file)
{
    static const PageCatalog &files = pageData(Page::TemplateFiles);
    static const PageCatalog &functions = pageData(Page::ExtensionFunctions);
    return qstrcmp(file, "files.page") == 0 ? files : functions;
}

QStringList linesOf(const char *file, int index)
{
    const CatalogControl *entry = catalog(file).entry(static_cast<qint16>(index));
    return entry ? entry->lines : QStringList{};
}

struct KeyLine {
    int number;   // from 1
    const char16_t *text;
};

struct LongSnippet {
    friend void PrintTo(const LongSnippet &s, std::ostream *os) { *os << s.file << " entry " << s.entry; }
    const char *file;
    int entry;
    int lineCount;
    std::vector<KeyLine> keyLines;   // whole lines, leading blanks included
};

const LongSnippet kLongSnippets[] = {
    {"files.page", 0, 38, {
        {1, uR"(<!-- 登录后的效果：文件模板存放在 system/users_info.htm -->)"},
        {2, uR"(<style>)"},
        {7, uR"(  .log-in:hover  #sub-menu { display: block; })"},
        {14, uR"(</style>)"},
        {15, uR"(<li class="log-in">)"},
        {16, uR"(  <div class='button-group'>)"},
        {17, uR"(    <a href="{zuvi:Diyurl link='user/Users/centre' /}" title="{$users.username}" class="user-head">)"},
        {18, uR"(      <img src="{$users.head_pic}" class="radius-circle">)"},
        {21, uR"(      <li><a href="{zuvi:Diyurl link='user/Users/index' /}">个人中心</a></li>)"},
        {22, uR"(      {zuvi:if condition="getUsersConfigData('shop.shop_open') == 1"})"},
        {23, uR"(      <li><a href="{zuvi:Diyurl link='user/Shop/shop_centre' /}">我的订单</a></li>)"},
        {24, uR"(      {/zuvi:if})"},
        {25, uR"(      <li><a href="{zuvi:Diyurl link='user/Users/collection_index' /}">我的收藏</a></li>)"},
        {26, uR"(      <li><a href="{zuvi:Diyurl link='user/Users/logout' /}">安全退出</a></li>)"},
        {29, uR"(</li>)"},
        {30, uR"({zuvi:if condition="getUsersConfigData('shop.shop_open') == 1"})"},
        {33, uR"(  <a href="{zuvi:Diyurl link='user/Shop/shop_cart_list' /}">)"},
        {34, uR"(    {notempty name='$users.cart_num'}<span>{$users.cart_num}</span>{/notempty})"},
        {38, uR"({/zuvi:if})"},
    }},
    {"files.page", 1, 126, {
        {1, uR"(<!-- 电脑端使用此标签需要加载 /template/pc/system/article_pay.htm 模板文件,手机端不需要此文件 -->)"},
        {2, uR"(<!DOCTYPE HTML>)"},
        {6, uR"(  <title>订单支付-{zuvi:global name='web_name' /}</title>)"},
        {10, uR"(  <link href="{zuvi:global name='web_cmspath'/}/favicon.ico" rel="shortcut icon" type="image/x-icon" />)"},
        {11, uR"(  {zuvi:static file="users/skin/css/basic.css" /})"},
        {12, uR"(  {zuvi:static file="users/skin/css/zuvicms.css" /})"},
        {14, uR"(  {zuvi:static file="users/skin/css/element/index.css" /})"},
        {15, uR"(  {zuvi:static file="users/skin/css/e-user.css" /})"},
        {16, uR"(  {zuvi:include file="users/skin/css/diy_css.htm" /})"},
        {17, uR"(  {zuvi:static file="/public/static/common/js/jquery.min.js"/})"},
        {18, uR"(  {zuvi:static file="/public/plugins/layer-v3.1.0/layer.js"/})"},
        {19, uR"(  {zuvi:static file="users/skin/js/global.js" /})"},
        {20, uR"(  <style>)"},
        {28, uR"(  </style>)"},
        {29, uR"(</head>)"},
        {30, uR"(<body>)"},
        {31, uR"(  <div class="zv-container w1200">)"},
        {35, uR"(          <!-- 支付API列表，套板请务必将整块代码一起复制，包含隐藏域 -->)"},
        {37, uR"(          {zuvi:sppayapilist id='vo'})"},
        {38, uR"(            {zuvi:notempty name="$vo.pay_id"})"},
        {39, uR"(              {neq name="$vo.pay_mark" value="Hupijiaopay"})"},
        {40, uR"(              {zuvi:php}$pay_mark_vars = "users/skin/images/".$vo['pay_mark'].".png";{/zuvi:php})"},
        {41, uR"(              <div class="pay-item"  onclick="LayerPaySelect(this);" data-mark="{$vo.pay_mark}" data-parameter="'{$vo.pay_id}','{$vo.pay_mark}'">)"},
        {43, uR"(                  <img src="{zuvi:empty name='$vo.pay_img'}{zuvi:static file='$pay_mark_vars' /}{zuvi:else/}{$vo.pay_img}{/zuvi:empty}">)"},
        {47, uR"(              {/neq})"},
        {48, uR"(            {/zuvi:notempty})"},
        {49, uR"(            {$vo.hidden})"},
        {50, uR"(          {/zuvi:sppayapilist})"},
        {54, uR"(          {zuvi:if condition="1 != $data.transaction_type && 1 == $data.pay_balance_open"})"},
        {55, uR"(          <div class="pay-item" data-toggle="modal" data-target="#pay-order-modal" onclick="LayerPaySelect(this);"  data-mark="balance" data-parameter="'{$data.unified_id}','{$data.unified_number}','{$data.transaction_type}'">)"},
        {56, uR"(            <a  href="JavaScript:void(0);" id="PayBalancePayment" >)"},
        {57, uR"(               <img src="{zuvi:static file='users/skin/images/pay_zuvi.png' /}" >)"},
        {61, uR"(          <script type="text/javascript">)"},
        {63, uR"(            function PayBalancePayment(unified_id,unified_number,transaction_type) {)"},
        {71, uR"(                url: '{$RootDir}/index.php?m=user&c=PayApi&a=balance_payment&_ajax=1',)"},
        {72, uR"(                data: {unified_id: unified_id, unified_number: unified_number, transaction_type: transaction_type},)"},
        {98, uR"(         </script>)"},
        {99, uR"(         {/zuvi:if})"},
        {101, uR"(       <div class="button-wrapper"><button type="button" class="layui-btn layui-btn-sm" id="confirm">确认支付{$data.order_amount}元</button></div>)"},
        {105, uR"(<script type="text/javascript">)"},
        {110, uR"(  function LayerPaySelect(obj) {)"},
        {125, uR"(</script>)"},
        {126, uR"(</body>)"},
    }},
    {"files.page", 2, 98, {
        {1, uR"(<!--分离/响应式电脑、手机端通用product_comment.htm-->)"},
        {2, uR"(<style type="text/css">)"},
        {74, uR"(</style>)"},
        {75, uR"(<div class="detail_row detail_row_cmt" >)"},
        {78, uR"(  <p class="good">好评度 <strong>{$Result['good_percent']}<span>%</span></strong></p>)"},
        {79, uR"(  <p class="count"><strong>{$Result['total']}</strong>条</p>)"},
        {80, uR"(  <p class="cmt_none_tips" id="evalNone" style="display: none;">暂无评价，欢迎您购买之后留下宝贵的评价</p>)"},
        {84, uR"(    <ul class="appraise-ul comList">{zuvi:include file="system/comment_list.htm" /}</ul>)"},
        {86, uR"(        {zuvi:empty name="$Comment"})"},
        {89, uR"(          {zuvi:egt name="$Result['total']" value="5"})"},
        {90, uR"~(            <div class="GetMoreData"> <a href="javascript:void(0)" data-p="1" onclick="AjaxLoadMore(this);">查看更多</a> </div>)~"},
        {91, uR"~(            <div class="NoMoreData"> <a href="javascript:void(0)">已加载全部评价</a> </div>)~"},
        {93, uR"~(            <div class="NoMoreData" style="display: block;"> <a href="javascript:void(0)">已加载全部评价</a> </div>)~"},
        {95, uR"(        {/zuvi:empty})"},
        {98, uR"(</div>)"},
    }},
    {"files.page", 3, 135, {
        {1, uR"(<!--分离式手机端/template/mobile/system/comment_list.htm-->)"},
        {2, uR"({zuvi:commentlist name="$Comment" id="field"})"},
        {3, uR"(<style>)"},
        {118, uR"(</style>)"},
        {119, uR"(<li>)"},
        {121, uR"(       <img src="{$field.head_pic}">)"},
        {122, uR"(       <span class="user">{$field.nickname}</span>)"},
        {123, uR"(       <span class="z_comment-star z_star{$field.total_score}"><span></span></span>)"},
        {124, uR"(       <span class="date">{$field.add_time|date='Y-m-d H:i:s',###}</span>)"},
        {126, uR"(    <div class="cmt_cnt">{$field.content}</div>)"},
        {128, uR"(        {zuvi:volist name="$field.upload_img" id="img"})"},
        {129, uR"(            {zuvi:notempty name="$img"})"},
        {130, uR"(                <span class="img"> <img src="{$img}"> </span>)"},
        {131, uR"(            {/zuvi:notempty})"},
        {132, uR"(        {/zuvi:volist})"},
        {135, uR"({/zuvi:commentlist})"},
    }},
    {"functions.page", 0, 64, {
        {1, uR"(if (!function_exists('diy_archives_list')))"},
        {2, uR"({)"},
        {3, uR"(  // 获取指定天数的文档列表)"},
        {4, uR"(  function diy_archives_list($channel = 0, $day = 0, $orderby = 'aid', $limit = 10) {)"},
        {6, uR"(      !empty($channel) && $where['a.channel'] = $channel;)"},
        {9, uR"(              Case 1:)"},
        {10, uR"(                  $t = mktime(0,0,0,date('m'),date('d'),date('Y'));)"},
        {12, uR"(              Case 7:)"},
        {13, uR"(                  $t = mktime(0,0,0,date('m'),date('d')-date('w')+1,date('y'));)"},
        {15, uR"(              Case 28:)"},
        {18, uR"(              Case 31:)"},
        {19, uR"(                  $t = mktime(0,0,0,date('m'),1,date('Y'));)"},
        {21, uR"(              Case 90:)"},
        {22, uR"(                  $t = strtotime(date('Y-m-d', strtotime("-3 month")));)"},
        {24, uR"(              Case 365:)"},
        {25, uR"(              Case 366:)"},
        {26, uR"(                  $t = strtotime(date('Y-01-01'));)"},
        {28, uR"(              default:)"},
        {29, uR"(                  # code...)"},
        {32, uR"(          $where['a.add_time'] = ['gt', $t];)"},
        {40, uR"(      $where = array_merge($where, $where2);)"},
        {41, uR"(      $orderby = getOrderBy($orderby, 'desc');)"},
        {42, uR"(      $result = \think\Db::name('archives')->alias('a'))"},
        {43, uR"(          ->field('b.*, a.*'))"},
        {44, uR"(          ->join('__ARCTYPE__ b', 'a.typeid = b.id', 'LEFT'))"},
        {45, uR"(          ->where($where))"},
        {46, uR"(          ->limit($limit))"},
        {47, uR"(          ->select();)"},
        {48, uR"(      // 获取查询的控制器名)"},
        {49, uR"(      $ctl_name_list = model('Channeltype')->getAll('id,ctl_name', array(), 'id');)"},
        {62, uR"(      return $result;)"},
        {63, uR"(    })"},
        {64, uR"(})"},
    }},
    {"functions.page", 1, 6, {
        {1, uR"(<!--(1,1,'click',10)第一个1为频道模型；第二个1为天，可选周7、月30、季90、年365等；click为排序可选new、sort_order、rand等；10为显示条数 -->)"},
        {2, uR"~({zuvi:volist name=":diy_archives_list(1,1,'click',10)"})~"},
        {3, uR"(  <li><i>{$i}</i>)"},
        {4, uR"(  <p><a class="u-class" href="{$field.typeurl}">[ {$field.typename} ]</a><a class="u-title" href="{$field.arcurl}">{$field.title}</a></p>)"},
        {5, uR"(   <strong>({$field.click})人阅读</strong><span>发布时间：{$field.add_time|MyDate='Y-m-d',###}</span></li>)"},
        {6, uR"({/zuvi:volist})"},
    }},
    {"functions.page", 2, 9, {
        {1, uR"(if (!function_exists('diy_number_format')) {)"},
        {2, uR"(  //将价格格式还原为普通价格)"},
        {3, uR"(  function diy_number_format($price = ''))"},
        {4, uR"(  {)"},
        {5, uR"(      $price = str_replace(',', '', $price);)"},
        {6, uR"(      $price = preg_replace('/^(\d+)\.00/i', '${1}', $price);)"},
        {8, uR"(   })"},
        {9, uR"(})"},
    }},
    {"functions.page", 3, 1, {
        {1, uR"(￥{$zuvi.field.users_price|diy_number_format=###})"},
    }},
    {"functions.page", 4, 18, {
        {1, uR"(if (!function_exists('diy_adv_total')){)"},
        {2, uR"(   // 获取广告组内广告的数量)"},
        {3, uR"(   function diy_adv_total($pid = 0))"},
        {4, uR"(   {)"},
        {6, uR"(       $pid = intval($pid);)"},
        {14, uR"(           $total = \think\Db::name('ad')->where($where)->count();)"},
        {16, uR"(       echo intval($total);)"},
        {17, uR"(   })"},
        {18, uR"(})"},
    }},
    {"functions.page", 5, 1, {
        {1, uR"({zuvi:php}diy_adv_total(1);{/zuvi:php})"},
    }},
    {"functions.page", 6, 21, {
        {1, uR"(if (!function_exists('diy_getArcrank')){)"},
        {2, uR"(   //显示文档的会员阅读权限名称)"},
        {3, uR"(   function diy_getArcrank($arcrank = ''))"},
        {4, uR"(   {)"},
        {5, uR"(       static $users_level_list = [];)"},
        {7, uR"(           $users_level_list = \think\Db::name('users_level')->field('level_name,level_value'))"},
        {8, uR"(               ->where('lang', get_current_lang()))"},
        {9, uR"(               ->order('is_system desc, level_value asc'))"},
        {10, uR"(               ->getAllWithIndex('level_value');)"},
        {20, uR"(    })"},
        {21, uR"(})"},
    }},
    {"functions.page", 7, 1, {
        {1, uR"({$field.arcrank|diy_getArcrank=###})"},
    }},
    {"functions.page", 8, 16, {
        {1, uR"(if (!function_exists('diy_MyDate')){)"},
        {2, uR"(   )"},
        {3, uR"(   function diy_MyDate($add_time = 0))"},
        {4, uR"(   {)"},
        {6, uR"(       $time = strtotime(date('Y-m-d'));)"},
        {7, uR"(       if (intval($str) > $time) {)"},
        {8, uR"(           $pic = handle_subdir_pic('/public/static/admin/images/new.gif');)"},
        {9, uR"(           $str = "<img src='{$pic}' />";//判断当天文章加图标)"},
        {10, uR"(           //$str = "<font color='red'>".date('Y-m-d', $str)."</font>";//判断当天文章标题加红)"},
        {15, uR"(    })"},
        {16, uR"(})"},
    }},
    {"functions.page", 9, 1, {
        {1, uR"({$field.add_time|diy_MyDate=###})"},
    }},
    {"functions.page", 10, 19, {
        {1, uR"(if (!function_exists('diy_users_attr_value')) {)"},
        {2, uR"(   // 获取会员属性值)"},
        {3, uR"(   function diy_users_attr_value($users_id = '', $para_id = '', $admin_id = ''))"},
        {4, uR"(   {)"},
        {6, uR"(       static $users_list = null;)"},
        {7, uR"(       if (null === $users_list) {)"},
        {9, uR"(               $users_id = \think\Db::name('users')->where('admin_id',$admin_id)->value('users_id');)"},
        {11, uR"(           $users_list = \think\Db::name('users_list')->where(['users_id'=>$users_id])->getAllWithIndex('para_id');)"},
        {17, uR"(       return $info;)"},
        {18, uR"(    })"},
        {19, uR"(})"},
    }},
    {"functions.page", 11, 2, {
        {1, uR"(<!--下面标签里的3，为会员自定义属性字段的值，也就是我们第二部审查元素获取的值-->)"},
        {2, uR"({$zuvi.field.users_id|diy_users_attr_value=###,3,$zuvi.field.admin_id})"},
    }},
};

class LongSnippets : public testing::TestWithParam<LongSnippet> {};

TEST_P(LongSnippets, HaveTheirLineCountAndTheirKeyLinesInPlace)
{
    const LongSnippet &snippet = GetParam();
    const QStringList lines = linesOf(snippet.file, snippet.entry);
    ASSERT_EQ(lines.size(), snippet.lineCount);
    for (const KeyLine &key : snippet.keyLines)
        EXPECT_EQ(lines[key.number - 1], QString::fromUtf16(key.text)) << "line " << key.number;
}

INSTANTIATE_TEST_SUITE_P(ReferencePages, LongSnippets, testing::ValuesIn(kLongSnippets),
                         [](const testing::TestParamInfo<LongSnippet> &info) {
                             return QString::fromLatin1(info.param.file).section(u'.', 0, 0).toStdString() + "_"
                                    + std::to_string(info.param.entry);
                         });

TEST(TemplateFilesCatalog, NoSnippetHoldsAnEmptyLine)
{
    const QList<const CatalogControl *> entries = catalog("files.page").entries();
    ASSERT_EQ(entries.size(), 4);
    for (const CatalogControl *entry : entries) {
        for (qsizetype i = 0; i < entry->lines.size(); ++i)
            EXPECT_FALSE(entry->lines[i].isEmpty()) << "entry " << entry->index << " line " << i + 1;
    }
}

enum class Language { Css, JavaScript };

// Where the brackets, braces and parentheses of a piece of code stop pairing
// up, reading past strings and comments; empty when they all pair up. CSS
// has only /* */ comments (a // there is part of an address); JavaScript
// also has // comments and `...` strings. Regular expression literals are
// not recognised: the template files' scripts have none.
QString bracketFault(const QString &code, Language language)
{
    const bool script = language == Language::JavaScript;
    QString expected;   // the closers still owed, innermost last
    QChar quote;        // the quote of the string being read
    bool lineComment = false;
    bool blockComment = false;
    int line = 1;
    for (qsizetype i = 0; i < code.size(); ++i) {
        const QChar c = code[i];
        const QChar next = i + 1 < code.size() ? code[i + 1] : QChar();
        if (c == u'\n') {
            if (!quote.isNull() && quote != u'`')
                return QStringLiteral("line %1: string not closed").arg(line);
            lineComment = false;
            ++line;
        } else if (lineComment) {
            // read on to the end of the line
        } else if (blockComment) {
            if (c == u'*' && next == u'/') {
                blockComment = false;
                ++i;
            }
        } else if (!quote.isNull()) {
            if (c == u'\\')
                ++i;
            else if (c == quote)
                quote = QChar();
        } else if (c == u'/' && next == u'*') {
            blockComment = true;
            ++i;
        } else if (script && c == u'/' && next == u'/') {
            lineComment = true;
        } else if (c == u'"' || c == u'\'' || (script && c == u'`')) {
            quote = c;
        } else if (const qsizetype k = QStringLiteral("([{").indexOf(c); k >= 0) {
            expected.append(QStringLiteral(")]}")[k]);
        } else if (QStringLiteral(")]}").contains(c)) {
            if (expected.isEmpty() || expected.back() != c)
                return QStringLiteral("line %1: unexpected %2").arg(line).arg(c);
            expected.chop(1);
        }
    }
    if (blockComment)
        return QStringLiteral("comment not closed");
    if (!quote.isNull())
        return QStringLiteral("string not closed");
    if (!expected.isEmpty())
        return QStringLiteral("%1 missing at the end").arg(expected.back());
    return {};
}

TEST(BracketCheck, FindsWhatDoesNotPairUpAndReadsPastStringsAndComments)
{
    struct Case {
        const char *code;
        Language language;
        bool sound;
    };
    const Case cases[] = {
        {"a { b: c; }\n@media x { d { e: f(1px); } }", Language::Css, true},
        {"a { content: \"}\"; background: url(data:image/png;base64,ab//cd); }", Language::Css, true},
        {"/* { */ a { }", Language::Css, true},
        {"a { b: c;\n", Language::Css, false},
        {"a { b: c; } }", Language::Css, false},
        {"a { content: \"x; }", Language::Css, false},
        {"f(a, [1, 2], {b: ')'}); // (", Language::JavaScript, true},
        {"s = 'it\\'s ('; t = `${u}`;", Language::JavaScript, true},
        {"f(a];", Language::JavaScript, false},
        {"function g() { if (x) { }", Language::JavaScript, false},
        {"a = 'open\n';", Language::JavaScript, false},
    };
    for (const Case &c : cases)
        EXPECT_EQ(bracketFault(QString::fromUtf8(c.code), c.language).isEmpty(), c.sound) << c.code;
}

struct CodeBlock {
    QString where;
    QString code;
};

// The style blocks or the inline scripts of the template files, each the
// lines between its opening and its closing tag.
QList<CodeBlock> embeddedCode(Language language)
{
    const QString open = language == Language::Css ? QStringLiteral("<style") : QStringLiteral("<script");
    const QString close = language == Language::Css ? QStringLiteral("</style>") : QStringLiteral("</script>");
    QList<CodeBlock> blocks;
    for (const CatalogControl *entry : catalog("files.page").entries()) {
        const QStringList &lines = entry->lines;
        for (qsizetype i = 0; i < lines.size(); ++i) {
            const QString tag = lines[i].trimmed();
            // A script that loads a file has nothing inside.
            if (!tag.startsWith(open) || tag.contains(close))
                continue;
            qsizetype end = i + 1;
            while (end < lines.size() && !lines[end].trimmed().startsWith(close))
                ++end;
            blocks.append({QStringLiteral("entry %1 lines %2 to %3").arg(entry->index).arg(i + 2).arg(end),
                           lines.mid(i + 1, end - i - 1).join(u'\n')});
            i = end;
        }
    }
    return blocks;
}

TEST(TemplateFilesCatalog, StyleBlocksAndScriptsHaveTheirBracketsPaired)
{
    const QList<CodeBlock> styles = embeddedCode(Language::Css);
    const QList<CodeBlock> scripts = embeddedCode(Language::JavaScript);
    // One style block in each file; the payment page's two scripts.
    ASSERT_EQ(styles.size(), 4);
    ASSERT_EQ(scripts.size(), 2);
    for (const CodeBlock &block : styles) {
        EXPECT_FALSE(block.code.trimmed().isEmpty()) << block.where.toStdString();
        EXPECT_EQ(bracketFault(block.code, Language::Css), QString()) << block.where.toStdString();
    }
    for (const CodeBlock &block : scripts) {
        EXPECT_FALSE(block.code.trimmed().isEmpty()) << block.where.toStdString();
        EXPECT_EQ(bracketFault(block.code, Language::JavaScript), QString()) << block.where.toStdString();
    }
}

TEST(TemplateFilesCatalog, ScriptsPassNodesSyntaxCheck)
{
    const QString node = QStandardPaths::findExecutable(QStringLiteral("node"));
    if (node.isEmpty())
        GTEST_SKIP() << "node is not installed; the bracket check above still covers the scripts";
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QList<CodeBlock> scripts = embeddedCode(Language::JavaScript);
    ASSERT_EQ(scripts.size(), 2);
    for (qsizetype i = 0; i < scripts.size(); ++i) {
        QFile file(dir.filePath(QStringLiteral("script%1.js").arg(i)));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(scripts[i].code.toUtf8());
        file.close();
        QProcess process;
        process.setProcessChannelMode(QProcess::MergedChannels);
        process.start(node, {QStringLiteral("--check"), file.fileName()});
        ASSERT_TRUE(process.waitForFinished(30000)) << scripts[i].where.toStdString();
        EXPECT_EQ(process.exitCode(), 0)
            << scripts[i].where.toStdString() << "\n" << process.readAll().toStdString();
    }
}

} // namespace
