#include "reports/sales_figures.h"
#include "store/paid_sales_sums.h"
#include "store/schema.h"
#include "store/transaction.h"
#include "support/fixture.h"

using test::ShopTest;

namespace {

struct SumsTable {
    const char* name;
    const char* keys[2];
};
const SumsTable kSumsTables[] = {{"销售日汇总", {"销售时间", "销售人员"}},
                                 {"销售月单品汇总", {"月份", "商品编号"}},
                                 {"销售年单品汇总", {"年份", "商品编号"}},
                                 {"销售异日单品汇总", {"销售时间", "商品编号"}}};

// A table's rows that hold lines, in key order, each key with its type (X'' is no code).
QString rowsOf(const SumsTable& table) {
    return QString("select '%1',quote(%2),quote(%3),%4 from %1 where 行数>0 order by %2,%3")
        .arg(table.name, table.keys[0], table.keys[1], store::kSumsColumns);
}

// The sums as the previous version kept them: amounts added and taken off in double, every line
// counted by calendar.
QStringList previousVersionSums() {
    const QString figures = "行数 INTEGER,数量 INTEGER,数量个数 INTEGER,小计 REAL,小计个数 INTEGER";
    QStringList steps = {
        "CREATE TABLE 销售日汇总(销售时间 INTEGER,销售人员 TEXT," + figures + ")",
        "CREATE INDEX 销售日汇总_日期 ON 销售日汇总(销售时间,销售人员)",
        "CREATE TABLE 销售月单品汇总(月份 INTEGER,商品编号 TEXT," + figures +
            ",PRIMARY KEY(月份,商品编号)) WITHOUT ROWID",
        "CREATE TABLE 销售年单品汇总(年份 INTEGER,商品编号 TEXT," + figures +
            ",PRIMARY KEY(年份,商品编号)) WITHOUT ROWID"};
    const struct {
        const char* table;
        const char* keys[2];
        const char* ofLine[2];  // `@` for the line
    } tables[] = {
        {"销售日汇总", {"销售时间", "销售人员"}, {"@.销售时间", "@.销售人员"}},
        {"销售月单品汇总", {"月份", "商品编号"}, {"ifnull(@.销售时间/100,-1)", "ifnull(@.商品编号,X'')"}},
        {"销售年单品汇总", {"年份", "商品编号"}, {"ifnull(@.销售时间/10000,-1)", "ifnull(@.商品编号,X'')"}},
    };
    for (const auto& t : tables) {
        const auto key = [&](int k, const char* line) { return QString(t.ofLine[k]).replace("@", line); };
        const auto keys = [&](const char* line) { return key(0, line) + "," + key(1, line); };
        const auto row = [&](const char* line) {
            return QString(t.keys[0]) + " IS " + key(0, line) + " AND " + t.keys[1] + " IS " + key(1, line);
        };
        const auto by = [&](const char* line, const char* sign) {
            return QString("UPDATE %1 SET 行数=行数%3 1,数量=数量%3 ifnull(%2.数量,0),小计=小计%3 "
                           "ifnull(%2.小计,0.0) WHERE %4;")
                .arg(t.table, line, sign, row(line));
        };
        steps << QString("INSERT INTO %1 SELECT %2,count(*),ifnull(sum(数量),0),count(数量),"
                         "ifnull(sum(小计),0.0),count(小计) FROM 销售模块 WHERE 状态='已买单' GROUP BY %2")
                     .arg(t.table, keys("销售模块"))
              << QString("CREATE TRIGGER %1_insert AFTER INSERT ON 销售模块 WHEN NEW.状态='已买单' "
                         "BEGIN INSERT INTO %1 SELECT %2,0,0,0,0.0,0 WHERE NOT EXISTS(SELECT 1 FROM %1 "
                         "WHERE %3);%4 END")
                     .arg(t.table, keys("NEW"), row("NEW"), by("NEW", "+"))
              << QString("CREATE TRIGGER %1_delete AFTER DELETE ON 销售模块 WHEN OLD.状态='已买单' "
                         "BEGIN %2 END")
                     .arg(t.table, by("OLD", "-"));
    }
    return steps;
}

}  // namespace

class PaidSalesSumsTest : public ShopTest {
protected:
    void line(const QString& id, const QString& day, const QString& code, const QString& quantity,
              const QString& amount, const QString& status = "已买单") {
        exec("insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,小计,状态,销售人员)"
             "values(?,nullif(?,''),'xs1',nullif(?,''),nullif(?,''),nullif(?,''),?,'张三')",
             {id, day, code, quantity, amount, status});
    }
    // Joined, so a difference reads at a glance.
    std::string kept() {
        QStringList all;
        for (const SumsTable& table : kSumsTables) all << rows(rowsOf(table));
        return all.join('\n').toStdString();
    }
    // The sums made anew from the lines, as a file that lost a trigger gets them.
    std::string madeFromTheLines() {
        exec("drop trigger 销售异日单品汇总_update");
        EXPECT_TRUE(store::ensurePaidSalesSums(db));
        return kept();
    }
    QStringList schemaOfTheSums() {
        return rows("select type,name,sql from sqlite_master where name like '销售%汇总%' order by name");
    }
    // The file as the previous version left it, with its sums of the lines it holds.
    void makeItAnOlderFile() {
        for (const QString& object : schemaOfTheSums())
            if (object.startsWith("trigger")) exec("drop trigger " + object.section('|', 1, 1));
        for (const SumsTable& table : kSumsTables) exec(QString("drop table ") + table.name);
        for (const QString& step : previousVersionSums()) exec(step);
    }
};

// Whatever is written to the lines, the sums are what a filling from the lines gives; amounts in
// millionths, lines dated on no calendar day under their own date.
TEST_F(PaidSalesSumsTest, EveryWriteToTheLinesKeepsTheSumsAsTheLinesGiveThem) {
    line("a", "20240301", "sp1", "2", "99999.99");
    line("b", "20240301", "sp1", "1", "0.01");
    line("c", "20240301", "sp2", "1", "19.9", "未确认");
    line("d", "20230230", "sp2", "3", "0.001");
    line("e", "", "", "", "");  // no date, code, quantity or amount
    EXPECT_EQ(kept(), madeFromTheLines());
    exec("delete from 销售模块 where 销售编号='a'");
    EXPECT_EQ(kept(), "销售日汇总|NULL|'张三'|1|0|0|0|0|0|0|0\n"
                      "销售日汇总|20230230|'张三'|1|3|1|0|0|1000|1|0\n"
                      "销售日汇总|20240301|'张三'|1|1|1|0|0|10000|1|0\n"
                      "销售月单品汇总|202403|'sp1'|1|1|1|0|0|10000|1|0\n"
                      "销售年单品汇总|2024|'sp1'|1|1|1|0|0|10000|1|0\n"
                      "销售异日单品汇总|NULL|X''|1|0|0|0|0|0|0|0\n"
                      "销售异日单品汇总|20230230|'sp2'|1|3|1|0|0|1000|1|0");

    store::Database other;  // another program writes to the lines, without the checks on its columns
    ASSERT_TRUE(other.open(store::databaseFilePath(folder.path()), store::kDatabaseUser,
                           store::kDatabasePassword));
    exec("drop trigger 销售模块_UPDATE_types");
    const QString writes[] = {
        "update 销售模块 set 状态='已买单' where 销售编号='c'",  // checkout
        "update 销售模块 set 小计=123456789.123456,数量=-4 where 销售编号='b'",
        "update 销售模块 set 销售时间=20240305.5 where 销售编号='b'",  // between two days
        "update 销售模块 set 销售时间='20240301' where 销售编号='b'",
        "update 销售模块 set 销售时间=20240331.5 where 销售编号='c'",
        "update 销售模块 set 销售时间='2024-03-01' where 销售编号='e'",
        "update 销售模块 set 销售时间=20231301 where 销售编号='b'",
        "update 销售模块 set 销售时间=20240229,商品编号=null where 销售编号='d'",
        "update 销售模块 set 销售时间=2024031 where 销售编号='c'",  // seven digits
        "update 销售模块 set 小计=0.30000000000000004 where 销售编号='e'",  // no number of millionths
        "update 销售模块 set 小计=1e9 where 销售编号='d'",                 // too large to carry
        "update 销售模块 set 销售人员='李四',小计=0.1 where 销售编号='e'",
        "update 销售模块 set 状态='未确认' where 销售编号='c'",
        "delete from 销售模块 where 销售编号='d'",
    };
    for (const QString& write : writes) {
        SCOPED_TRACE(write.toStdString());
        ASSERT_TRUE(other.execute(write)) << other.lastError().toStdString();
        EXPECT_EQ(kept(), madeFromTheLines());
    }
    // Figures the integers cannot carry are counted apart, and leave with their line.
    other.execute("update 销售模块 set 小计=0.30000000000000004 where 销售编号='b'");
    EXPECT_EQ(rows("select 小计元,小计微元,散小计 from 销售异日单品汇总 where 销售时间=20231301"),
              QStringList{"0|0|1"});
    other.execute("update 销售模块 set 小计=0.3 where 销售编号='b'");
    EXPECT_EQ(rows("select 小计元,小计微元,散小计 from 销售异日单品汇总 where 销售时间=20231301"),
              QStringList{"0|300000|0"});
    // Figures of a file without the checks on its number columns.
    exec("drop trigger 销售模块_INSERT_types");
    line("f", "20240301", "sp1", "2.5", "abc");
    EXPECT_EQ(rows("select 行数,数量,散数量,小计个数,散小计 from 销售年单品汇总 where 商品编号='sp1'"),
              QStringList{"1|0|1|1|1"});
    EXPECT_EQ(kept(), madeFromTheLines());
}

// A reader of the lines themselves works each line's figures out as the triggers do.
TEST_F(PaidSalesSumsTest, ReadingALineGivesWhatTheTriggersAddForIt) {
    exec("drop trigger 销售模块_INSERT_types");  // figures of a file without the type checks
    const struct {
        const char* quantity;
        const char* amount;
    } lines[] = {
        {"1", "169.15"},        {"2", "0.001"},         {"3", "0.0000005"},      {"4", "999999999.999999"},
        {"5", "1e9"},           {"6", "-999999999.5"},  {"7", "-0.01"},          {"8", "-0.0"},
        {"9", "0.30000000000000004"}, {"10", "1e-7"},   {"11", "123456.1234565"}, {"12", "'abc'"},
        {"13", "5"},            {"2147483647", "1"},    {"2147483648", "1"},     {"-2147483648", "1"},
        {"-2147483649", "1"},   {"2.5", "1"},           {"'x'", "1"},            {"NULL", "NULL"},
        {"NULL", "99999.99"},   {"0", "1234567.891"},   {"1", "0.1234567"},     {"1", "2000000000.5"},
    };
    int day = 0;
    for (const auto& l : lines)
        exec(QString("insert into 销售模块(销售时间,数量,小计,状态)values(%1,%2,%3,'已买单')")
                 .arg(QString::number(20240101 + day++), l.quantity, l.amount));
    const auto figures = [&](const QString& sql, bool ofLine) {
        QStringList all;
        db.forEachRow(sql, {}, [&](const store::Row& row) {
            const store::LineSums sums = ofLine ? store::LineSums::ofLine(row, 1, +1)
                                                : store::LineSums::ofRow(row, 1, +1);
            all << QString("%1: %2 %3/%4/%5 %6/%7/%8")
                       .arg(row.integer(0))
                       .arg(sums.lines)
                       .arg(sums.quantity)
                       .arg(sums.quantities)
                       .arg(sums.oddQuantities)
                       .arg(QString::number(double(sums.millionths), 'f', 0))
                       .arg(sums.amounts)
                       .arg(sums.oddAmounts);
        });
        return all.join('\n').toStdString();
    };
    const std::string kept = figures("select 销售时间," + store::kSumsColumns + " from 销售日汇总 order by 1", false);
    EXPECT_EQ(kept, figures("select 销售时间," + store::kLineColumns + " from 销售模块 order by 1", true));
    EXPECT_NE(kept.find("20240101: 1 1/1/0 169150000/1/0"), std::string::npos) << kept;
    EXPECT_NE(kept.find("20240103: 1 3/1/0 0/1/1"), std::string::npos) << kept;  // half a millionth
}

// A file of the previous version has its sums made anew on opening; a making that cannot finish
// leaves the old ones exactly as they were. Either way the figures are those of the lines.
TEST_F(PaidSalesSumsTest, AnOlderFileGetsItsSumsMadeAnewWholeOrNotAtAll) {
    line("a", "20240301", "sp1", "2", "99999.99");
    line("b", "20240301", "sp1", "1", "0.01");
    line("c", "20231301", "sp2", "1", "0.5");
    exec("drop trigger 销售模块_INSERT_types");  // another program's date between two days
    line("d", "20240305.5", "sp3", "9", "7");
    line("e", "20240306", "sp1", "1", "1");
    const QStringList current = schemaOfTheSums();
    makeItAnOlderFile();
    exec("delete from 销售模块 where 销售编号='a'");  // what the old sums left of it
    EXPECT_EQ(rows("select 小计 from 销售日汇总 where 销售时间=20240301"), QStringList{"0.00999999999476131"});
    const auto expectTheFiguresOfTheLines = [&] {
        const reports::DateBounds bounds{"20240305", "20231201", "20240305"};
        const std::optional<reports::RangeTotals> totals = reports::rangeTotals(db, bounds);
        const std::optional<reports::BestSellers> best = reports::bestSellers(db, bounds);
        ASSERT_TRUE(totals && best);
        EXPECT_EQ((totals->amount + " " + totals->quantity + " " + best->byAmountCode + " " + best->amount)
                      .toStdString(),
                  "0.51 2 sp2 0.5");
        // Most of a year, less the days before 6 March: the line between two days is not in it.
        const std::optional<reports::BestSellers> rest =
            reports::bestSellers(db, {"20241231", "20240306", "20240305"});
        ASSERT_TRUE(rest);
        EXPECT_EQ((rest->byQuantityCode + " " + rest->quantity).toStdString(), "sp1 1");
    };

    exec("create table 销售异日单品汇总_日期(x)");  // the making's index cannot be made
    const QStringList previous = schemaOfTheSums();
    EXPECT_FALSE(store::ensurePaidSalesSums(db));
    EXPECT_EQ(schemaOfTheSums(), previous);
    expectTheFiguresOfTheLines();

    exec("drop table 销售异日单品汇总_日期");
    db.close();
    ASSERT_EQ(store::openBooks(db, store::databaseFilePath(folder.path())).state,
              store::BooksState::Opened);
    EXPECT_EQ(schemaOfTheSums(), current);
    expectTheFiguresOfTheLines();
    EXPECT_EQ(kept(), madeFromTheLines());
}

// Another program reading the file keeps the making of the sums from committing: the making is
// rolled back whole, so the program's next write starts as ever and the next opening makes them.
TEST_F(PaidSalesSumsTest, AMakingThatCannotCommitLeavesNoTransactionOpen) {
    line("a", "20240301", "sp1", "2", "5");
    const QStringList current = schemaOfTheSums();
    makeItAnOlderFile();
    const QStringList older = schemaOfTheSums() + rows("select * from 销售日汇总");
    const QString path = store::databaseFilePath(folder.path());
    db.setBusyTimeout(100);
    {
        store::Database reader;
        ASSERT_TRUE(reader.open(path, store::kDatabaseUser, store::kDatabasePassword));
        ASSERT_TRUE(reader.execute("BEGIN"));
        ASSERT_FALSE(reader.query("select count(*) from 销售模块").failed());
        EXPECT_FALSE(store::ensurePaidSalesSums(db));
    }
    EXPECT_EQ(schemaOfTheSums() + rows("select * from 销售日汇总"), older);
    EXPECT_TRUE(store::inTransaction(db, [&] {
        return db.execute("insert into 销售模块(销售编号,销售时间,商品编号,数量,小计,状态)"
                          "values('b',20240302,'sp1',1,7,'已买单')");
    }));
    db.close();
    ASSERT_EQ(store::openBooks(db, path).state, store::BooksState::Opened);
    EXPECT_EQ(schemaOfTheSums(), current);
    EXPECT_EQ(rows("select 行数,小计元 from 销售年单品汇总"), QStringList{"2|12"});
}
