#include "bench.h"

#include "app/main_window.h"
#include "store/schema.h"

#include <QFile>

namespace bench {

void benchStore(Bench& bench) {
    bench.db.execute("update 用户管理模块 set 密码=? where 用户名='admin'", {"digest"});
    bench.time("start-up to the main window shown", [&] {
        store::Database db;
        session::Shell shell(db, bench.messages, bench.clock, bench.folder.path());
        app::MainWindow window(shell);
        window.show();
    });
    bench.time("query of 50 000 products", [&] { bench.db.query("select * from 商品资料"); },
               "select * from 商品资料");
    bench.time("one bill's lines by bill number",
               [&] { bench.db.query("select * from 销售模块 where 销售单号=?", {"xs4242"}); },
               "select * from 销售模块 where 销售单号='xs4242'");
    bench.time("scan of 1 000 000 bill lines (sum)",
               [&] { bench.db.query("select sum(小计) from 销售模块"); },
               "select sum(小计) from 销售模块");
    bench.time("execute: update one stock row", [&] {
        bench.db.execute("update 库存表 set 实际库存=? where 商品编号=?", {"99", "sp4242"});
    });
}

}  // namespace bench
