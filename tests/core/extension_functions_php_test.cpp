#include "tests/support/pagedata.h"
#include "core/catalog/snippet.h"
#include "tests/support/qtprinters.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The six PHP functions of the extension functions page, exactly as they
// reach the clipboard: checked by PHP's own parser, and run against small
// stand-ins for the CMS's database layer and helpers.

namespace {

QString functionText(int index)
{
    static const PageCatalog &catalog = pageData(Page::ExtensionFunctions);
    const CatalogControl *entry = catalog.entry(static_cast<qint16>(index));
    return entry ? snippetText(entry->lines) : QString();
}

QString phpExecutable()
{
    return QStandardPaths::findExecutable(QStringLiteral("php"));
}

const char *const kNoPhp = "php is not on PATH; scripts/setup.sh installs php-cli";

struct PhpRun {
    bool finished = false;
    int exitCode = -1;
    QString output;   // standard output and errors
};

// Writes `source` to a file and runs php with `options` on it.
PhpRun runPhp(const QString &source, const QStringList &options = {})
{
    PhpRun run;
    QTemporaryDir dir;
    QFile file(dir.filePath(QStringLiteral("code.php")));
    if (!dir.isValid() || !file.open(QIODevice::WriteOnly)) {
        run.output = QStringLiteral("cannot write the PHP file");
        return run;
    }
    file.write(source.toUtf8());
    file.close();
    QProcess php;
    php.setProcessChannelMode(QProcess::MergedChannels);
    php.start(phpExecutable(), options + QStringList{file.fileName()});
    run.finished = php.waitForFinished(30000);
    run.exitCode = php.exitCode();
    run.output = QString::fromUtf8(php.readAll());
    return run;
}

TEST(ExtensionFunctionsPhp, EachFunctionPassesPhpsSyntaxCheck)
{
    ASSERT_FALSE(phpExecutable().isEmpty()) << kNoPhp;
    for (int index : {0, 2, 4, 6, 8, 10}) {
        const PhpRun run = runPhp(QStringLiteral("<?php\n") + functionText(index), {QStringLiteral("-l")});
        ASSERT_TRUE(run.finished) << "entry " << index;
        EXPECT_EQ(run.exitCode, 0) << "entry " << index << "\n" << run.output.toStdString();
        EXPECT_TRUE(run.output.contains(QStringLiteral("No syntax errors"))) << run.output.toStdString();
    }
}

// Stand-ins for what the functions call in the CMS. Every warning or notice
// becomes an error, so a function that reads an unset variable fails.
const char *const kHarness = R"php(<?php
namespace think {
    class Db {
        public static $where = [];   // the filters of every query, in order
        public static $rows = [];    // what every query finds
        public static function name($table) { return new Query(); }
    }
    class Query {
        public function where($where, $value = null) { Db::$where[] = $where; return $this; }
        public function __call($name, $arguments) {
            switch ($name) {
                case 'select':
                case 'getAllWithIndex': return Db::$rows;
                case 'count': return count(Db::$rows);
                case 'value': return 7;
                default: return $this;
            }
        }
    }
}
namespace {
    set_error_handler(function ($level, $message) { throw new \ErrorException($message); });
    define('ROOT_DIR', '/site');
    function get_home_lang() { return 'cn'; }
    function get_current_lang() { return 'cn'; }
    function getOrderBy($orderby, $way) { return $orderby . ' ' . $way; }
    function handle_subdir_pic($path) { return ROOT_DIR . $path; }
    function model($name) { return new class { public function getAll() { return []; } }; }
%1
%2
}
)php";

struct FunctionRun {
    friend void PrintTo(const FunctionRun &run, std::ostream *os) { *os << "entry " << run.entry; }
    int entry;
    const char *calls;      // PHP statements run after the function's text
    const char *expected;   // what they print
};

class ExtensionFunctionsRun : public testing::TestWithParam<FunctionRun> {};

TEST_P(ExtensionFunctionsRun, DoWhatTheirCallsPromise)
{
    ASSERT_FALSE(phpExecutable().isEmpty()) << kNoPhp;
    const FunctionRun &c = GetParam();
    const PhpRun run = runPhp(QString::fromUtf8(kHarness).arg(functionText(c.entry), QString::fromUtf8(c.calls)));
    ASSERT_TRUE(run.finished);
    EXPECT_EQ(run.exitCode, 0) << run.output.toStdString();
    EXPECT_EQ(run.output, QString::fromUtf8(c.expected));
}

INSTANTIATE_TEST_SUITE_P(Functions, ExtensionFunctionsRun, testing::Values(
    // A day count the switch does not list sets no start time of its own:
    // the list is then not limited in time, and nothing reads an unset $t.
    FunctionRun{0, R"php(
        foreach ([0, 1, 5, 7, 30, 90, 365, 400] as $day) {
            \think\Db::$where = [];
            diy_archives_list(1, $day, 'click', 10);
            $where = \think\Db::$where[0];
            $since = isset($where['a.add_time']) ? $where['a.add_time'][1] : null;
            echo $day, ':', $since === null ? 'no limit' : ($since === 0 ? 'from 0' : (is_int($since) ? 'from a time' : 'bad')),
                $where['a.channel'] === 1 && $where['a.status'] === 1 ? '' : ' wrong filters', "\n";
        }
    )php",
                "0:no limit\n1:from a time\n5:from 0\n7:from a time\n30:from a time\n90:from a time\n"
                "365:from a time\n400:from 0\n"},
    FunctionRun{2, R"php(
        foreach (['1,234.00', '12.50', '1,000,000.00', '99', '0.00'] as $price) echo diy_number_format($price), "\n";
    )php",
                "1234\n12.50\n1000000\n99\n0\n"},
    FunctionRun{4, R"php(
        \think\Db::$rows = ['a', 'b', 'c'];
        diy_adv_total(2); echo "\n"; diy_adv_total(0); echo "\n"; diy_adv_total('x'); echo "\n";
    )php",
                "3\n0\n0\n"},
    FunctionRun{6, R"php(
        \think\Db::$rows = [0 => ['level_name' => 'member'], 2 => ['level_name' => 'vip']];
        echo diy_getArcrank(2), '|', diy_getArcrank(0), '|', diy_getArcrank(''), '|', diy_getArcrank(9), "|\n";
    )php",
                "vip|member|member||\n"},
    FunctionRun{8, R"php(
        echo diy_MyDate(time() + 60), "\n", diy_MyDate(mktime(12, 0, 0, 5, 6, 2020)), "\n";
    )php",
                "<img src='/site/public/static/admin/images/new.gif' />\n2020-05-06\n"},
    FunctionRun{10, R"php(
        \think\Db::$rows = [3 => ['info' => '<img src="/uploads/a.jpg">'],
                            4 => ['info' => '<img src=&quot;/old/uploads/b.jpg&quot;>'],
                            5 => ['info' => 'plain text']];
        echo diy_users_attr_value(1, 3), "\n", diy_users_attr_value(1, 4), "\n",
             diy_users_attr_value(1, 5), "\n", diy_users_attr_value(1, 9), "|\n";
    )php",
                "<img src=\"/site/uploads/a.jpg\">\n<img src=&quot;/site/uploads/b.jpg&quot;>\nplain text\n|\n"}),
    [](const testing::TestParamInfo<FunctionRun> &info) { return "entry" + std::to_string(info.param.entry); });

} // namespace
