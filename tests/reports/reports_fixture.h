#pragma once
// Bill lines written straight into the test database, as the sales window leaves them.

#include "support/fixture.h"

namespace test {

struct SaleLine {
    QString day;  // yyyymmdd
    QString product;
    QString quantity;
    QString amount;
    QString status = "已买单";
    QString salesperson = "张三";
};

class ReportsTest : public ShopTest {
protected:
    void sell(const SaleLine& line) {
        exec("insert into 销售模块(销售编号,销售时间,销售单号,商品编号,数量,小计,状态,销售人员)"
             "values(?,?,?,?,?,?,?,?)",
             {"xsbh" + QString::number(++lines_), line.day, "xs1", line.product, line.quantity,
              line.amount, line.status, line.salesperson});
    }
    void sell(std::initializer_list<SaleLine> lines) {
        for (const SaleLine& line : lines) sell(line);
    }
    // Product A with 2 and 1 pieces for 30 and 20, B with 1 for 50, in the first days of March.
    void sellTheExample() {
        sell({{"20240301", "A", "2", "30"}, {"20240302", "B", "1", "50"}, {"20240305", "A", "1", "20"}});
    }

private:
    int lines_ = 0;
};

}  // namespace test
